# Files of src/snippets, relative to the source tree.
list(APPEND VANTREL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/BasicTemplate.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SnippetLibrary.cpp)
list(APPEND VANTREL_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/CAddSnippetDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CSnippetLibraryDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SnippetCommands.cpp)
