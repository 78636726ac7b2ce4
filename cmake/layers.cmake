# The plugin's own code: one static library per folder, named tinyhorde_<folder>. From the
# bottom: base, config, selection, scaling, then hooks and commands (neither uses the other),
# then plugin; all of them sit on the host boundary's headers.
#
# A library's include path holds its own headers (<folder>/include/<folder>/) and those of the
# libraries it uses, so a file that includes a header of a higher library does not compile.
# tests/layers holds a source that tries, and a scan of every #include against the same table.
#
# tinyhorde_layer(<folder> SOURCES <file>... USES <library>...)
#   USES names tinyhorde_<folder> libraries, tinyhorde_host (the boundary's headers with the
#   platform's binding behind them) and third-party targets.
function(tinyhorde_layer folder)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;USES")
  if(arg_UNPARSED_ARGUMENTS OR NOT arg_SOURCES)
    message(FATAL_ERROR "tinyhorde_layer(${folder} SOURCES <file>... USES <library>...)")
  endif()
  set(target tinyhorde_${folder})
  add_library(${target} STATIC ${arg_SOURCES})
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
  target_link_libraries(${target} PUBLIC ${arg_USES})
  set_target_properties(${target} PROPERTIES CXX_VISIBILITY_PRESET hidden
                                             VISIBILITY_INLINES_HIDDEN ON)
  # The folders this one may include from, for the include scan: its own, "host" for the
  # boundary, and those of the layers it uses with theirs in turn.
  set(folders ${folder})
  foreach(used IN LISTS arg_USES)
    if(used STREQUAL "tinyhorde_host")
      list(APPEND folders host)
    elseif(used MATCHES "^tinyhorde_(.+)$")
      get_property(below GLOBAL PROPERTY TINYHORDE_LAYER_FOLDERS_${CMAKE_MATCH_1})
      if(NOT below)
        message(FATAL_ERROR "tinyhorde_layer(${folder}): ${used} is not a layer made before it")
      endif()
      list(APPEND folders ${below})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES folders)
  set_property(GLOBAL PROPERTY TINYHORDE_LAYER_FOLDERS_${folder} ${folders})
  set_property(GLOBAL APPEND PROPERTY TINYHORDE_LAYERS ${folder})
endfunction()

# The layers, bottom first; the plugin's folder makes the library of the host's plugin from them.
# TINYHORDE_JSON_LIBRARY is the JSON reader's target where the platform has one.
function(tinyhorde_add_layers)
  foreach(folder base config selection scaling hooks commands plugin)
    add_subdirectory(${CMAKE_SOURCE_DIR}/${folder} ${CMAKE_BINARY_DIR}/${folder})
  endforeach()
endfunction()
