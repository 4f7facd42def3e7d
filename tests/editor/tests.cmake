# Tests of src/editor's core: highlight engine and colours (the HTML export is
# tested with the command line that runs it, in tst_cli).
vantrel_test(tst_highlight
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_highlight.cpp ${CMAKE_CURRENT_LIST_DIR}/ReferenceHighlighter.cpp
  LIBS vantrel_core)

# Rewrites NAME.iws.styled beside each golden NAME.iws from the engine
# (scripts/regen_goldens.sh). A tool, not a test.
add_executable(highlight_goldens ${CMAKE_CURRENT_LIST_DIR}/highlight_goldens.cpp
                                 ${CMAKE_CURRENT_LIST_DIR}/ReferenceHighlighter.cpp)
target_link_libraries(highlight_goldens PRIVATE vantrel_core)

vantrel_test(tst_colours SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_colours.cpp LIBS vantrel_core)
