# Tests of src/launch.
vantrel_test(tst_launch_rules SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_launch_rules.cpp LIBS vantrel_core)
vantrel_test(tst_launch_commands SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_launch_commands.cpp LIBS vantrel_ui)
