# Tests of src/editor: the highlight engine and colours against the literal
# passes and the goldens, and the editing basics through the widgets (the
# HTML export is tested with the command line that runs it, in tst_cli).
vantrel_test(tst_highlight
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_highlight.cpp ${CMAKE_CURRENT_LIST_DIR}/ReferenceHighlighter.cpp
  LIBS vantrel_core)
vantrel_test(tst_editing SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_editing.cpp LIBS vantrel_ui)
