# Installs BUILD_DIR into PREFIX (emptied first) and checks what lands there: exactly the
# plugin folder's seven files, the library as built, the sample config, the changelog, the
# licence and the third-party notices as they stand in the repository, an INSTALL.txt that
# explains every setting and command of the plugin's tables (listed by the program TABLES), and a
# PluginInfo.json whose versions the host can read
# (numbers, MinApiVersion at least 2.03).
set(dir "${PREFIX}/ArkApi/Plugins/Tinyhorde")
set(failures "")
macro(fail message)
  string(APPEND failures "\n  ${message}")
endmacro()

file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${status}):\n${output}")
endif()

file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE "${PREFIX}" "${PREFIX}/*")
list(SORT installed)
set(layout ArkApi/Plugins/Tinyhorde/CHANGELOG.md ArkApi/Plugins/Tinyhorde/INSTALL.txt
           ArkApi/Plugins/Tinyhorde/LICENSE ArkApi/Plugins/Tinyhorde/PluginInfo.json
           ArkApi/Plugins/Tinyhorde/THIRD-PARTY-NOTICES.txt ArkApi/Plugins/Tinyhorde/Tinyhorde.so
           ArkApi/Plugins/Tinyhorde/config.example.json)
if(NOT installed STREQUAL layout)
  fail("installed [${installed}], expected [${layout}]")
endif()

if(EXISTS "${dir}/Tinyhorde.so")
  file(SHA256 "${dir}/Tinyhorde.so" installed_hash)
  file(SHA256 "${LIBRARY}" built_hash)
  if(NOT installed_hash STREQUAL built_hash)
    fail("Tinyhorde.so is not the built ${LIBRARY}")
  endif()
endif()

foreach(pair config.example.json=examples/config.json CHANGELOG.md=CHANGELOG.md LICENSE=LICENSE
             THIRD-PARTY-NOTICES.txt=THIRD-PARTY-NOTICES.txt)
  string(REPLACE "=" ";" pair "${pair}")
  list(GET pair 0 shipped_name)
  list(GET pair 1 source_name)
  if(EXISTS "${dir}/${shipped_name}")
    file(READ "${dir}/${shipped_name}" shipped)
    file(READ "${SOURCE_DIR}/${source_name}" source)
    if(NOT shipped STREQUAL source)
      fail("${shipped_name} differs from ${source_name}")
    endif()
  endif()
endforeach()

# INSTALL.txt is all an owner may read: it must name every setting the plugin reads (under
# every name config.json may use) and every command it answers. Both come from the plugin's own
# tables, listed by TABLES (tests/install/table_listing.h), so a row of any shape fails here until
# the README's install text explains it.
if(EXISTS "${dir}/INSTALL.txt")
  file(READ "${dir}/INSTALL.txt" install_text)
  if(NOT install_text MATCHES "^Tinyhorde ${PROJECT_VERSION}\n\n## Installing on a server\n")
    fail("INSTALL.txt does not start with its title and the README's install heading")
  endif()
  if(install_text MATCHES "<!--")
    fail("INSTALL.txt holds one of the README's marker lines")
  endif()
  macro(require_text text why)
    string(FIND "${install_text}" "${text}" found)
    if(found EQUAL -1)
      fail("INSTALL.txt lacks ${text} (${why})")
    endif()
  endmacro()

  execute_process(COMMAND "${TABLES}" RESULT_VARIABLE status OUTPUT_VARIABLE listing
                  ERROR_VARIABLE listing_error)
  if(NOT status EQUAL 0 OR NOT listing MATCHES "\nend\n$")
    message(FATAL_ERROR "${TABLES} did not list the tables (${status}):\n${listing_error}")
  endif()
  set(prefixes "")
  set(keys "")
  set(commands "")
  set(chat "")
  set(bounds "")
  set(status_defaults "")
  string(REPLACE "\n" ";" listing_lines "${listing}")
  foreach(line IN LISTS listing_lines)
    if(line MATCHES "^prefix ([a-z]+\\.)$")
      list(APPEND prefixes "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^chat (/[a-z]+)$")
      set(chat "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^command ([a-z]+) (administrators|everyone|none)$")
      list(APPEND commands "${CMAKE_MATCH_1}:${CMAKE_MATCH_2}")
    elseif(line MATCHES "^setting ([A-Za-z]+)( ([A-Za-z]+))?$")
      list(APPEND keys "${CMAKE_MATCH_1}" ${CMAKE_MATCH_3})
    elseif(line MATCHES "^scale-bounds ([0-9.e+-]+) ([0-9.e+-]+)$")
      set(bounds "${CMAKE_MATCH_1} and ${CMAKE_MATCH_2}")
    elseif(line MATCHES "^status-defaults (.+)$")
      set(status_defaults "${CMAKE_MATCH_1}")
    elseif(NOT line STREQUAL "end" AND NOT line STREQUAL "")
      # A fact this check does not know would go unchecked: the listing and the check change
      # together.
      fail("${TABLES} listed a line this check does not read: '${line}'")
    endif()
  endforeach()
  if(NOT prefixes OR NOT commands OR NOT keys OR NOT chat OR NOT bounds OR NOT status_defaults)
    fail("the tables' listing lacks a kind of line:\n${listing}")
  endif()

  # Settings: every key and older name of the settings' descriptions, and every key of the
  # shipped sample.
  file(READ "${SOURCE_DIR}/examples/config.json" sample)
  string(JSON sample_keys LENGTH "${sample}")
  math(EXPR last "${sample_keys} - 1")
  foreach(i RANGE ${last})
    string(JSON key MEMBER "${sample}" ${i})
    list(APPEND keys "${key}")
  endforeach()
  list(REMOVE_DUPLICATES keys)
  foreach(key IN LISTS keys)
    require_text("`${key}`" "a setting")
  endforeach()
  # The status reply's settings line as the defaults show it, in the table's order.
  require_text("\"${status_defaults}\"" "the status line of the defaults")
  # Every range a scale is said to lie in is the plugin's.
  string(REGEX MATCHALL "between [0-9]+(\\.[0-9]+)? and [0-9]+(\\.[0-9]+)?" ranges "${install_text}")
  if(NOT ranges)
    fail("INSTALL.txt states no range of the scales (between ${bounds})")
  endif()
  foreach(range IN LISTS ranges)
    if(NOT range STREQUAL "between ${bounds}")
      fail("INSTALL.txt says a scale lies ${range}; the plugin's bounds are between ${bounds}")
    endif()
  endforeach()

  # Console and RCON commands: each row's word under every prefix. An alias under another
  # prefix is explained once, by its prefix, beside the command of the same name under the
  # first prefix.
  # The chat command, and each row's chat word with who may type it in the chat table's second
  # column ("administrators", or "anyone" for a word for everyone).
  require_text("`${chat}`" "the chat command")
  list(GET prefixes 0 first_prefix)
  foreach(command IN LISTS commands)
    string(REPLACE ":" ";" command "${command}")
    list(GET command 0 word)
    list(GET command 1 access)
    foreach(prefix IN LISTS prefixes)
      require_text("`${first_prefix}${word}" "the command ${prefix}${word}")
      require_text("`${prefix}" "the prefix of ${prefix}${word}")
    endforeach()
    if(access STREQUAL "administrators")
      require_text("`${chat} ${word}` | administrators |" "a chat word for administrators")
    elseif(access STREQUAL "everyone")
      require_text("`${chat} ${word}` | anyone |" "a chat word for everyone")
    endif()
  endforeach()

  # The host's own commands that load and unload the plugin.
  require_text("plugins.load Tinyhorde" "loading")
  require_text("plugins.unload Tinyhorde" "unloading")
endif()

if(EXISTS "${dir}/PluginInfo.json")
  file(READ "${dir}/PluginInfo.json" info)
  foreach(key Version MinApiVersion)
    string(JSON type ERROR_VARIABLE error TYPE "${info}" ${key})
    if(NOT type STREQUAL "NUMBER")
      fail("PluginInfo.json ${key} is not a number: ${type}")
    endif()
  endforeach()
  string(JSON version ERROR_VARIABLE error GET "${info}" Version)
  string(JSON min_api ERROR_VARIABLE error GET "${info}" MinApiVersion)
  if(NOT version EQUAL PROJECT_VERSION)
    fail("PluginInfo.json Version ${version} is not the project's ${PROJECT_VERSION}")
  endif()
  # 2.03 is the first host release that removes a plugin's commands when it unloads it.
  if(min_api LESS 2.03)
    fail("PluginInfo.json MinApiVersion ${min_api} is below 2.03")
  endif()
endif()

if(failures)
  message(FATAL_ERROR "install layout under ${PREFIX}:${failures}")
endif()
message(STATUS "install layout under ${PREFIX}: as expected")
