vantrel_test(tst_view SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_view.cpp LIBS vantrel_ui)
vantrel_test(tst_document SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_document.cpp LIBS vantrel_ui)
vantrel_test(tst_findreplace SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_findreplace.cpp LIBS vantrel_ui)
