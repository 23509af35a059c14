# SPDX-License-Identifier: GPL-3.0-or-later
# Files of src/scan
list(APPEND KETRANO_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/text_case.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wildcard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/enumeration.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/extension_filters.cpp
  ${CMAKE_CURRENT_LIST_DIR}/side_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/compare_sides.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scan_driver.cpp
)
