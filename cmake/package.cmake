# Install and release, on both platforms. `cmake --install` lays out
#
#   <prefix>/ArkApi/Plugins/Tinyhorde/
#       Tinyhorde.dll        (Tinyhorde.so on Linux, as the simulated server installs it)
#       PluginInfo.json      made from examples/PluginInfo.json.in with the project version
#                            (cmake/version.cmake): numeric Version and MinApiVersion
#       config.example.json  examples/config.json: every key with its default
#       INSTALL.txt          the README's install, settings and commands sections
#       LICENSE              the plugin's licence
#       THIRD-PARTY-NOTICES.txt  the licences of the libraries compiled into the DLL
#       CHANGELOG.md         what each version changed, for owners
#
# and `cpack` zips that folder. No config.json is shipped, so unpacking an update over a server
# never replaces the owner's settings.
set(TINYHORDE_INSTALL_DIR ArkApi/Plugins/Tinyhorde)
if(WIN32)
  set(tinyhorde_library_name Tinyhorde.dll)
else()
  set(tinyhorde_library_name Tinyhorde.so)
endif()

# INSTALL.txt: the README's text between its two INSTALL.txt marker lines (installing, the
# settings, the commands, what needs a first run), under a title line. The README is the one
# source, so the zip and the README cannot disagree.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/README.md)
file(READ ${CMAKE_SOURCE_DIR}/README.md tinyhorde_readme)
set(begin_marker "<!-- INSTALL.txt begins here")
set(end_marker "<!-- INSTALL.txt ends here")
string(FIND "${tinyhorde_readme}" "${begin_marker}" section_start)
string(FIND "${tinyhorde_readme}" "${end_marker}" section_end)
if(section_start EQUAL -1 OR section_end LESS section_start)
  message(FATAL_ERROR "README.md must hold a line starting \"${begin_marker}\" and, after it, "
                      "one starting \"${end_marker}\"")
endif()
string(SUBSTRING "${tinyhorde_readme}" ${section_start} -1 tinyhorde_install_text)
string(FIND "${tinyhorde_install_text}" "\n" first_line_end)
math(EXPR section_length "${section_end} - ${section_start} - ${first_line_end} - 1")
math(EXPR first_line_end "${first_line_end} + 1")
string(SUBSTRING "${tinyhorde_install_text}" ${first_line_end} ${section_length}
       tinyhorde_install_text)
file(WRITE ${CMAKE_BINARY_DIR}/INSTALL.txt
     "Tinyhorde ${PROJECT_VERSION}\n\n${tinyhorde_install_text}")

install(FILES $<TARGET_FILE:tinyhorde> DESTINATION ${TINYHORDE_INSTALL_DIR}
        RENAME ${tinyhorde_library_name} COMPONENT plugin)
install(FILES ${TINYHORDE_PLUGIN_INFO} ${CMAKE_BINARY_DIR}/INSTALL.txt
              ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt
              ${CMAKE_SOURCE_DIR}/CHANGELOG.md
        DESTINATION ${TINYHORDE_INSTALL_DIR} COMPONENT plugin)
install(FILES ${CMAKE_SOURCE_DIR}/examples/config.json DESTINATION ${TINYHORDE_INSTALL_DIR}
        RENAME config.example.json COMPONENT plugin)

# The release zip: the folder above, from ArkApi/ down, to unpack into the server's
# ShooterGame/Binaries/Win64/.
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tinyhorde)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
if(WIN32)
  set(CPACK_PACKAGE_FILE_NAME Tinyhorde-${PROJECT_VERSION}-win64)
else()
  set(CPACK_PACKAGE_FILE_NAME Tinyhorde-${PROJECT_VERSION}-linux-sim)
endif()
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_COMPONENTS_ALL plugin)
include(CPack)
