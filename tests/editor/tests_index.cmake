# The script index and its hints, kept up to date through the editor.
vantrel_test(tst_index SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_index.cpp LIBS vantrel_ui)
