# Profile tests: one line (or block) per test executable.
ketrano_gtest(profile_list_commands_test ${CMAKE_CURRENT_LIST_DIR}/profile_list_commands_test.cpp)
ketrano_gtest(desktop_shortcut_test ${CMAKE_CURRENT_LIST_DIR}/desktop_shortcut_test.cpp)
ketrano_qtest(srctgtform_test ${CMAKE_CURRENT_LIST_DIR}/srctgtform_test.cpp)
ketrano_qtest(profile_toolbar_test ${CMAKE_CURRENT_LIST_DIR}/profile_toolbar_test.cpp)
ketrano_gtest(profile_file_test ${CMAKE_CURRENT_LIST_DIR}/profile_file_test.cpp)
ketrano_gtest(profile_commands_test ${CMAKE_CURRENT_LIST_DIR}/profile_commands_test.cpp)
