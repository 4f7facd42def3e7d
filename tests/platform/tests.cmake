# Tests of src/platform: settings store, text codec, template dialogs.
vantrel_test(tst_platform SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_platform.cpp LIBS vantrel_ui)
