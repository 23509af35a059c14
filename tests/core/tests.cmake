# Tests of src/core.
ketrano_gtest(thread_check_test ${CMAKE_CURRENT_LIST_DIR}/thread_check_test.cpp)
