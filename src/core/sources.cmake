# SPDX-License-Identifier: GPL-3.0-or-later
# Files of src/core: what every subsystem and both programs share
list(APPEND KETRANO_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/callbacks.h
  ${CMAKE_CURRENT_LIST_DIR}/failure.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_system_info.cpp
  ${CMAKE_CURRENT_LIST_DIR}/known_roots.cpp
  ${CMAKE_CURRENT_LIST_DIR}/memory_hint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/name_bytes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/root_check.cpp
  ${CMAKE_CURRENT_LIST_DIR}/path_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plain_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/run_control.h
  ${CMAKE_CURRENT_LIST_DIR}/run_events.h
  ${CMAKE_CURRENT_LIST_DIR}/run_lock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/run_log.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shared_string.h
  ${CMAKE_CURRENT_LIST_DIR}/status_bar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sync_history.cpp
  ${CMAKE_CURRENT_LIST_DIR}/thread_check.cpp
  ${CMAKE_CURRENT_LIST_DIR}/trim_blanks.h
  ${CMAKE_CURRENT_LIST_DIR}/ui_yield.cpp
)
