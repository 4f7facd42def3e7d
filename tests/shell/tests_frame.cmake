vantrel_test(tst_frame SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_frame.cpp LIBS vantrel_ui)
vantrel_test(tst_app SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_app.cpp LIBS vantrel_ui)
add_dependencies(tst_app vantrel)
