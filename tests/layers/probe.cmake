# cmake -D BUILD_DIR=<tree> -D TARGET=<probe> -D HEADER=<header> -D EXPECT=COMPILES|FAILS -P probe.cmake
# Builds one layer probe. FAILS holds only when the build fails because HEADER was not found, so
# that a probe broken some other way does not pass for a layer that holds.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${TARGET}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(EXPECT STREQUAL "COMPILES")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${TARGET} should compile, but did not:\n${output}")
  endif()
  message(STATUS "${TARGET} compiles")
elseif(EXPECT STREQUAL "FAILS")
  if(result EQUAL 0)
    message(FATAL_ERROR "${TARGET} compiled: ${HEADER} is visible to a library below it")
  endif()
  string(FIND "${output}" "${HEADER}" named)
  if(named EQUAL -1 OR NOT output MATCHES "No such file or directory|file not found")
    message(FATAL_ERROR "${TARGET} failed, but not for want of ${HEADER}:\n${output}")
  endif()
  message(STATUS "${TARGET} does not compile: ${HEADER} is not on its include path")
else()
  message(FATAL_ERROR "EXPECT must be COMPILES or FAILS, not '${EXPECT}'")
endif()
