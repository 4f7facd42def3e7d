list(APPEND VANTREL_CORE_SOURCES
  ${PROJECT_SOURCE_DIR}/resources/commands.cpp
  ${PROJECT_SOURCE_DIR}/resources/dialogs.cpp)
set(VANTREL_UI_RESOURCES ${PROJECT_SOURCE_DIR}/resources/vantrel.qrc ${PROJECT_SOURCE_DIR}/resources/linux/linux.qrc)
