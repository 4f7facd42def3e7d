# Tests of src/editor's core: highlight engine, colours, HTML export.
# The engine against the literal passes and the goldens; the colour settings.
vantrel_test(tst_highlight
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_highlight.cpp ${CMAKE_CURRENT_LIST_DIR}/ReferenceHighlighter.cpp
  LIBS vantrel_core)
vantrel_test(tst_htmlexport
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_htmlexport.cpp ${CMAKE_CURRENT_LIST_DIR}/ReferenceHighlighter.cpp
  LIBS vantrel_core)
vantrel_test(tst_editing SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_editing.cpp LIBS vantrel_ui)
