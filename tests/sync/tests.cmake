# Tests of src/sync
ketrano_gtest(copy_file_test ${CMAKE_CURRENT_LIST_DIR}/copy_file_test.cpp)
ketrano_gtest(copy_engine_test ${CMAKE_CURRENT_LIST_DIR}/copy_engine_test.cpp)
ketrano_gtest(sync_driver_test ${CMAKE_CURRENT_LIST_DIR}/sync_driver_test.cpp)
ketrano_gtest(sync_roundtrip_test ${CMAKE_CURRENT_LIST_DIR}/sync_roundtrip_test.cpp)
