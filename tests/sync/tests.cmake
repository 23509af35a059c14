# Tests of src/sync
ketrano_gtest(copy_file_test ${CMAKE_CURRENT_LIST_DIR}/copy_file_test.cpp)
ketrano_gtest(sync_test ${CMAKE_CURRENT_LIST_DIR}/sync_test.cpp)
ketrano_gtest(reliability_test ${CMAKE_CURRENT_LIST_DIR}/reliability_test.cpp
              ${CMAKE_CURRENT_LIST_DIR}/../support/tmpfs_mount.cpp)
target_compile_definitions(reliability_test PRIVATE KETRANO_CLI="$<TARGET_FILE:ketrano-cli>")
add_dependencies(reliability_test ketrano-cli)
