# Tests of src/platform's core: settings store, text codec.
vantrel_test(tst_profilestore SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_profilestore.cpp LIBS vantrel_core)
vantrel_test(tst_textcodec SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_textcodec.cpp LIBS vantrel_core)
