# The command line, run as a real process: it needs the program built.
vantrel_test(tst_cli SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_cli.cpp LIBS vantrel_core)
add_dependencies(tst_cli vantrel)
