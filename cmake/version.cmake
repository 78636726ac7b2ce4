# The plugin's version is written once, as the project version in CMakeLists.txt. What shows it
# follows from it:
#
#   PluginInfo.json         from examples/PluginInfo.json.in, installed beside the plugin; the
#                           host reads its Version as a number
#   base/version.h          from base/version.h.in: the reply of hordesize.version
#   the release zip's name  Tinyhorde-<version>-win64.zip (cmake/package.cmake)
#   INSTALL.txt             its title line (cmake/package.cmake)
#
# tests/install/check_package.cmake fails when the zip's name, its PluginInfo.json or the
# command's reply shows another version; CHANGELOG.md must open with this version's section.
#
# The host reads Version as a floating-point number, so the version is MAJOR.MINOR written as
# that number reads back: 1.10 would read as 1.1, and 1.1.2 is no number at all.
if(NOT PROJECT_VERSION MATCHES "^(0|[1-9][0-9]*)\\.(0|[0-9]*[1-9])$")
  message(FATAL_ERROR "The project version in CMakeLists.txt must be MAJOR.MINOR as a number "
                      "reads back (1.1, 2.05; not 1.10 nor 1.1.2), because the host reads "
                      "PluginInfo.json's Version as a number; it is '${PROJECT_VERSION}'")
endif()

# PluginInfo.json, for the install, the zip and the simulated server (plugin/CMakeLists.txt).
set(TINYHORDE_PLUGIN_INFO ${CMAKE_BINARY_DIR}/PluginInfo.json)
configure_file(${CMAKE_SOURCE_DIR}/examples/PluginInfo.json.in ${TINYHORDE_PLUGIN_INFO} @ONLY)
