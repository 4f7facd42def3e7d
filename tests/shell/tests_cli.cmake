# The command line, run as a real process: it needs the program built. The
# page it writes is also read back against the literal highlight passes.
vantrel_test(tst_cli
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_cli.cpp ${CMAKE_CURRENT_LIST_DIR}/../editor/ReferenceHighlighter.cpp
  LIBS vantrel_core)
add_dependencies(tst_cli vantrel)
