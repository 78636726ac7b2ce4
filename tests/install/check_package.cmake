# Packs BUILD_DIR with cpack into WORK (emptied first) and checks that the release zip and what it
# holds show one version, the project's: the zip's name, the Version of its PluginInfo.json, the
# newest section of its CHANGELOG.md and the reply of hordesize.version from its own library,
# loaded by simserver. The zip holds exactly what `cmake --install` lays out (check_install.cmake
# checks those files one by one).
cmake_minimum_required(VERSION 3.25)
set(failures "")
macro(fail message)
  string(APPEND failures "\n  ${message}")
endmacro()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/zip" "${WORK}/unpacked")
execute_process(COMMAND "${CPACK}" --config "${BUILD_DIR}/CPackConfig.cmake" -B "${WORK}/zip"
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cpack failed (${status}):\n${output}")
endif()

# The zip's name.
file(GLOB zips RELATIVE "${WORK}/zip" "${WORK}/zip/*.zip")
if(NOT zips STREQUAL "Tinyhorde-${PROJECT_VERSION}-linux-sim.zip")
  message(FATAL_ERROR "cpack made [${zips}], expected Tinyhorde-${PROJECT_VERSION}-linux-sim.zip")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar xf "${WORK}/zip/${zips}"
                WORKING_DIRECTORY "${WORK}/unpacked" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${zips} could not be unpacked (${status})")
endif()

# What it holds: the installed layout, nothing more or less.
file(GLOB_RECURSE packed LIST_DIRECTORIES false RELATIVE "${WORK}/unpacked" "${WORK}/unpacked/*")
list(SORT packed)
set(dir ArkApi/Plugins/Tinyhorde)
set(layout ${dir}/CHANGELOG.md ${dir}/INSTALL.txt ${dir}/LICENSE ${dir}/PluginInfo.json
           ${dir}/THIRD-PARTY-NOTICES.txt ${dir}/Tinyhorde.so ${dir}/config.example.json)
if(NOT packed STREQUAL layout)
  fail("${zips} holds [${packed}], expected [${layout}]")
endif()
set(dir "${WORK}/unpacked/${dir}")

# PluginInfo.json: the project version, as the number the host reads.
if(EXISTS "${dir}/PluginInfo.json")
  file(READ "${dir}/PluginInfo.json" info)
  string(JSON type ERROR_VARIABLE error TYPE "${info}" Version)
  # The number as written: CMake's JSON reader gives it back as a double (1.1000000000000001).
  string(REGEX MATCH "\"Version\"[ \t]*:[ \t]*([^,} \t\n]*)" found "${info}")
  set(version "${CMAKE_MATCH_1}")
  if(NOT type STREQUAL "NUMBER" OR NOT version STREQUAL PROJECT_VERSION)
    fail("PluginInfo.json's Version is ${type} ${version}, not the number ${PROJECT_VERSION}")
  endif()
endif()

# CHANGELOG.md: its first version heading is this version's.
if(EXISTS "${dir}/CHANGELOG.md")
  file(STRINGS "${dir}/CHANGELOG.md" headings REGEX "^## ")
  list(GET headings 0 newest)
  if(NOT newest STREQUAL "## ${PROJECT_VERSION}")
    fail("CHANGELOG.md's newest section is '${newest}', not '## ${PROJECT_VERSION}'")
  endif()
endif()

# The zip's own library, loaded by simserver, answers with the same version.
if(EXISTS "${dir}/Tinyhorde.so")
  file(WRITE "${WORK}/version.script" "plugin load\nrcon hordesize.version\nplugin unload\n")
  execute_process(COMMAND "${SIMSERVER}" --plugin "${dir}/Tinyhorde.so" "${WORK}/version.script"
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  set(reply "rcon 1 \"[Tinyhorde] Tinyhorde ${PROJECT_VERSION}.\\n\"")
  string(FIND "${output}" "${reply}" found)
  if(NOT status EQUAL 0 OR found EQUAL -1)
    fail("simserver (exit ${status}) with the zip's library did not print ${reply}:\n${output}${errors}")
  endif()
endif()

if(failures)
  message(FATAL_ERROR "release zip ${zips}:${failures}")
endif()
message(STATUS "release zip ${zips}: named, packed and answering as version ${PROJECT_VERSION}")
