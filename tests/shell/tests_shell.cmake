# The program as it starts and runs, through its windows; one test hands a
# script to the running editor from a second process.
vantrel_test(tst_shell SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_shell.cpp LIBS vantrel_ui)
add_dependencies(tst_shell vantrel)
# A second editor that the tests of unsaved work kill or end.
add_executable(recovery_helper ${CMAKE_CURRENT_LIST_DIR}/recovery_helper.cpp)
target_link_libraries(recovery_helper PRIVATE vantrel_ui)
add_dependencies(tst_shell recovery_helper)
