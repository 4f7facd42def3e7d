# Files of src/launch, relative to the source tree.
list(APPEND VANTREL_UI_SOURCES ${CMAKE_CURRENT_LIST_DIR}/LaunchCommands.cpp)
