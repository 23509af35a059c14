# SPDX-License-Identifier: GPL-3.0-or-later
# Files of src/profile
list(APPEND KETRANO_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/profile_model.cpp
  ${CMAKE_CURRENT_LIST_DIR}/profile_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/profile_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/profile_list_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/desktop_shortcut.cpp
)
list(APPEND KETRANO_GUI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/srctgtform.cpp
)
