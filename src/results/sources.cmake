# SPDX-License-Identifier: GPL-3.0-or-later
# Files of src/results
list(APPEND KETRANO_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/result_row.cpp
  ${CMAKE_CURRENT_LIST_DIR}/result_row.h
  ${CMAKE_CURRENT_LIST_DIR}/result_model.cpp
  ${CMAKE_CURRENT_LIST_DIR}/error_model.cpp
  ${CMAKE_CURRENT_LIST_DIR}/display_format.cpp
  ${CMAKE_CURRENT_LIST_DIR}/key_sort.cpp
  ${CMAKE_CURRENT_LIST_DIR}/result_order.cpp
  ${CMAKE_CURRENT_LIST_DIR}/list_commands.cpp
)
list(APPEND KETRANO_GUI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/file_icon_model.cpp
)
