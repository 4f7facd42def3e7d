# The program as it starts and runs, through its windows; one test hands a
# script to the running editor from a second process.
vantrel_test(tst_shell SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_shell.cpp LIBS vantrel_ui)
add_dependencies(tst_shell vantrel)
