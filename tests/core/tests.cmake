# Shared engine pieces: names as bytes, file systems, remembered roots.
ketrano_gtest(core_test ${CMAKE_CURRENT_LIST_DIR}/name_bytes_test.cpp
              ${CMAKE_CURRENT_LIST_DIR}/file_system_test.cpp)
