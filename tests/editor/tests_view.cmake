# The editor in its window: view, document, find and replace, through the widgets.
vantrel_test(tst_editor SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_editor.cpp LIBS vantrel_ui)
