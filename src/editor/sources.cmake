# Files of src/editor, relative to the source tree.
list(APPEND VANTREL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ScriptVocabulary.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HighlightEngine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SyntaxColours.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HtmlExport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextSearch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/EditorSettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScriptIndex.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScriptHints.cpp)
list(APPEND VANTREL_UI_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ScriptEditControl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CVantrelView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FindReplace.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ColourDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LineNumberGutter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GoToLineDlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WordCompleter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OutlinePanel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UsesPanel.cpp)
