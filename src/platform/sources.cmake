# Files of src/platform, relative to the source tree.
list(APPEND VANTREL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ProfileStore.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextCodec.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AtomicFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/XdgPaths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RegularFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileLookup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileIdentity.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecoveryJournal.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DiskWatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TerminationSignals.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LongLines.cpp)
list(APPEND VANTREL_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/MessageBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DialogBuilder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileDialogs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LockKeys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScriptFont.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingsNotice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DesktopOpener.cpp)
