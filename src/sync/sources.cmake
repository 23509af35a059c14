# SPDX-License-Identifier: GPL-3.0-or-later
# Files of src/sync
list(APPEND KETRANO_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/copy_ahead.cpp
  ${CMAKE_CURRENT_LIST_DIR}/copy_data.cpp
  ${CMAKE_CURRENT_LIST_DIR}/copy_engine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/copy_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/destination_check.cpp
  ${CMAKE_CURRENT_LIST_DIR}/entry_roots.cpp
  ${CMAKE_CURRENT_LIST_DIR}/folder_beneath.cpp
  ${CMAKE_CURRENT_LIST_DIR}/new_file_times.cpp
  ${CMAKE_CURRENT_LIST_DIR}/partial_copy_name.cpp
  ${CMAKE_CURRENT_LIST_DIR}/stale_partials.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sync_driver.cpp
  ${CMAKE_CURRENT_LIST_DIR}/versions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/written_file_systems.cpp
)
list(APPEND KETRANO_GUI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/errorsform.cpp
)
