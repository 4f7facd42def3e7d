vantrel_test(snippet_library_store SOURCES ${CMAKE_CURRENT_LIST_DIR}/SnippetLibraryTest.cpp LIBS vantrel_core)
vantrel_test(snippet_dialogs SOURCES ${CMAKE_CURRENT_LIST_DIR}/SnippetDialogsTest.cpp LIBS vantrel_ui)
vantrel_test(basic_template SOURCES ${CMAKE_CURRENT_LIST_DIR}/BasicTemplateTest.cpp LIBS vantrel_core)
