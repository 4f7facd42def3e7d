# The splash screen, the About box and the program's pictures.
vantrel_test(tst_splash SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_splash.cpp LIBS vantrel_ui)
vantrel_test(tst_art SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_art.cpp LIBS vantrel_ui)
