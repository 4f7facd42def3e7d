# Tests of src/launch: the launch rules and the commands.
vantrel_test(tst_launch SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_launch.cpp LIBS vantrel_ui)
