# SPDX-License-Identifier: GPL-3.0-or-later
# Files of src/cli (program ketrano-cli)
list(APPEND KETRANO_CLI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli_json.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli_log.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli_options.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli_output.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli_profile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli_profile_edit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli_profile_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli_progress.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli_run.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli_scan.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli_settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli_stop.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli_terminal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli_tsv.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli_sync.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cli_versions.cpp
)
