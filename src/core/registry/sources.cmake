# SPDX-License-Identifier: GPL-3.0-or-later
# Files of src/core/registry
list(APPEND KETRANO_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/registry.cpp
)
