# Files of src/app
list(APPEND KETRANO_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/callbacks.h
  ${CMAKE_CURRENT_LIST_DIR}/app_state.h
  ${CMAKE_CURRENT_LIST_DIR}/settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/status_bar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ui_yield.cpp
)
list(APPEND KETRANO_GUI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/mainform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mainform_callbacks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mainform_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mainform_lists.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/signal_close.cpp
)
