# Installs the build into a temporary prefix and runs the installed program:
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DWORK_DIR=... -P install_smoke.cmake
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/prefix
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "install failed: ${rc}")
endif()
foreach(f bin/vantrel lib/vantrel/vantrel-editor.so share/vantrel/VantrelHelp.html share/applications/vantrel.desktop
          share/mime/packages/vantrel-iws.xml share/icons/hicolor/48x48/apps/vantrel.png
          share/icons/hicolor/48x48/mimetypes/text-x-iwar-script.png)
  if(NOT EXISTS ${WORK_DIR}/prefix/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()

execute_process(COMMAND ${WORK_DIR}/prefix/bin/vantrel --version OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "Vantrel - Independence War Script Editor 1.1 final\n")
  message(FATAL_ERROR "--version: ${rc} '${out}'")
endif()

file(WRITE ${WORK_DIR}/m.iws "END ; done\r\n")
set(ENV{XDG_CONFIG_HOME} ${WORK_DIR}/config)
execute_process(COMMAND ${WORK_DIR}/prefix/bin/vantrel --export-html ${WORK_DIR}/m.iws ${WORK_DIR}/m.html
                RESULT_VARIABLE rc)
file(READ ${WORK_DIR}/m.html page)
if(NOT rc EQUAL 0 OR NOT page MATCHES "<span style=\"color:#0080ff\">END</span>")
  message(FATAL_ERROR "--export-html: ${rc} '${page}'")
endif()
message(STATUS "installed program runs")
