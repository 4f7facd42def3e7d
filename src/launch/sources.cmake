# Files of src/launch, relative to the source tree.
list(APPEND VANTREL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/LaunchSettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LaunchPlan.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GameStarter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DebugFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ErrorLogLine.cpp)
list(APPEND VANTREL_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/CLaunchOptionsDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LaunchCommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DebugPanel.cpp)
