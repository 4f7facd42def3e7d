# Tests of src/snippets: store, dialogs, commands and the template.
vantrel_test(tst_snippets SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_snippets.cpp LIBS vantrel_ui)
