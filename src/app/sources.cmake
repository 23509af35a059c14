# SPDX-License-Identifier: GPL-3.0-or-later
# Files of src/app: the window program only
list(APPEND KETRANO_GUI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/mainform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mainform_callbacks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mainform_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mainform_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mainform_lists.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mainform_profile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mainform_progress.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mainform_results.cpp
  ${CMAKE_CURRENT_LIST_DIR}/column_fit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_views.cpp
  ${CMAKE_CURRENT_LIST_DIR}/run_log_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/run_progress.cpp
  ${CMAKE_CURRENT_LIST_DIR}/desktop_notice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/notice_bar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_option.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/signal_close.cpp
  ${CMAKE_CURRENT_LIST_DIR}/versions_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/translations.cpp
)
