# Files of src/shell, relative to the source tree.
list(APPEND VANTREL_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/CommandLine.cpp ${CMAKE_CURRENT_LIST_DIR}/RecentFiles.cpp)
list(APPEND VANTREL_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/CVantrelDoc.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DocumentSet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ChooseFileDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CMainFrame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CVantrelApp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DesktopIntegration.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CSplashWnd.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CAboutDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/JournalKeeper.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MissionNavigator.cpp)
