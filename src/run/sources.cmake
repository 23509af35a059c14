# SPDX-License-Identifier: GPL-3.0-or-later
# Files of src/run: one run of a profile for every front end, and the state it works on
list(APPEND KETRANO_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/app_state.h
  ${CMAKE_CURRENT_LIST_DIR}/run_profile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/status_presenter.cpp
)
