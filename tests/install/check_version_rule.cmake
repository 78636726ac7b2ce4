# cmake -D SOURCE_DIR=<repository> -D WORK=<folder> -P check_version_rule.cmake
# cmake/version.cmake against project versions: those PluginInfo.json's Version reads back
# unchanged as a number are taken, and PluginInfo.json shows them as written; the others stop
# the configuration with a message that names the version.
cmake_minimum_required(VERSION 3.25)
set(failures "")
set(cases "1.1=ok" "1.0=ok" "2.05=ok" "10.3=ok" "0.9=ok"
          "1.10=refused" "1.1.2=refused" "1=refused" "01.1=refused" "1.1-rc1=refused" "=refused")
foreach(case IN LISTS cases)
  string(REPLACE "=" ";" case "${case}")
  list(GET case 0 version)
  list(GET case 1 expected)
  set(binary "${WORK}/version-${version}")
  file(REMOVE_RECURSE "${binary}")
  file(MAKE_DIRECTORY "${binary}")
  # Script mode sets CMAKE_SOURCE_DIR and CMAKE_BINARY_DIR itself: a wrapper sets them as the
  # build does, then reads version.cmake.
  file(WRITE "${binary}/configure.cmake"
       "set(PROJECT_VERSION \"${version}\")\nset(CMAKE_SOURCE_DIR \"${SOURCE_DIR}\")\n"
       "set(CMAKE_BINARY_DIR \"${binary}\")\ninclude(\"${SOURCE_DIR}/cmake/version.cmake\")\n")
  execute_process(COMMAND "${CMAKE_COMMAND}" -P "${binary}/configure.cmake"
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(expected STREQUAL "ok")
    file(READ "${binary}/PluginInfo.json" info)
    string(JSON type ERROR_VARIABLE error TYPE "${info}" Version)
    string(FIND "${info}" "\"Version\": ${version}," at)
    if(NOT status EQUAL 0 OR NOT type STREQUAL "NUMBER" OR at EQUAL -1)
      string(APPEND failures "\n  ${version} was not taken as the number ${version}:\n${output}")
    endif()
  elseif(status EQUAL 0 OR NOT output MATCHES "it is '${version}'")
    string(APPEND failures "\n  ${version} was not refused with a message naming it:\n${output}")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "project versions:${failures}")
endif()
list(LENGTH cases count)
message(STATUS "${count} project versions taken or refused as the host's reading requires")
