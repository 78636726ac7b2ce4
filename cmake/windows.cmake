# The Windows build: Tinyhorde.dll for the AsaApi host, built with MSVC against the AsaApi SDK.
# The simulated server, the tests and the Linux binding are not part of it.
#
#   TINYHORDE_ASAAPI_DIR  the SDK folder, the one holding AsaApi/Core/Public (and Private beside
#                         it, which the SDK's own headers reach into)
#   TINYHORDE_ASAAPI_LIB  AsaApi.lib, the import library of the AsaApi release the server runs
set(TINYHORDE_ASAAPI_DIR "" CACHE PATH "The AsaApi SDK folder, the one holding AsaApi/Core/Public")
set(TINYHORDE_ASAAPI_LIB "" CACHE FILEPATH "AsaApi.lib of the AsaApi release the server runs")

set(asaapi_public "${TINYHORDE_ASAAPI_DIR}/AsaApi/Core/Public")
if(NOT EXISTS "${asaapi_public}/API/ARK/Ark.h" OR
   NOT EXISTS "${TINYHORDE_ASAAPI_DIR}/AsaApi/Core/Private")
  message(FATAL_ERROR "TINYHORDE_ASAAPI_DIR must name the AsaApi SDK folder that holds "
                      "AsaApi/Core/Public and AsaApi/Core/Private (now: '${TINYHORDE_ASAAPI_DIR}')")
endif()
if(NOT EXISTS "${TINYHORDE_ASAAPI_LIB}")
  message(FATAL_ERROR "TINYHORDE_ASAAPI_LIB must name AsaApi.lib of the AsaApi release the "
                      "server runs (now: '${TINYHORDE_ASAAPI_LIB}')")
endif()

# The dynamic release runtime in every configuration: std::string, std::function, shared_ptr
# and the log sinks cross between the host and the plugin, and /MDd would change their layout.
set(CMAKE_MSVC_RUNTIME_LIBRARY MultiThreadedDLL)
add_compile_options(/utf-8 /EHsc /permissive- /Zc:__cplusplus /bigobj /W4)
# UNICODE: the SDK's TCHAR must be windows.h's. WIN32_LEAN_AND_MEAN is defined empty, as the
# SDK's Base.h defines it again.
add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN=)

# The SDK's bundled spdlog 0.16.2, fmt 4.1 and nlohmann json 3.10.2 stand in for Debian's, for
# all code: <fmt/format.h> and <nlohmann/json.hpp> lead to the SDK's copies (host/asaapi/bundled),
# <spdlog/...> to its spdlog, whose sinks the host hands over.
add_library(tinyhorde_bundled_deps INTERFACE)
target_include_directories(tinyhorde_bundled_deps INTERFACE ${CMAKE_SOURCE_DIR}/host/asaapi/bundled)
target_include_directories(tinyhorde_bundled_deps SYSTEM INTERFACE
  ${asaapi_public} ${asaapi_public}/Logger)

# The SDK itself, for host/asaapi only: its include folders in its own order, and AsaApi.lib.
add_library(tinyhorde_asaapi_sdk INTERFACE)
target_include_directories(tinyhorde_asaapi_sdk SYSTEM INTERFACE
  ${asaapi_public}/API/UE ${asaapi_public} ${asaapi_public}/Logger)
target_link_libraries(tinyhorde_asaapi_sdk INTERFACE "${TINYHORDE_ASAAPI_LIB}" tinyhorde_bundled_deps)

# The host boundary and its binding to AsaApi.
add_library(tinyhorde_host_headers INTERFACE)
target_include_directories(tinyhorde_host_headers INTERFACE ${CMAKE_SOURCE_DIR}/host/include)
target_link_libraries(tinyhorde_host_headers INTERFACE tinyhorde_bundled_deps)
add_subdirectory(host/asaapi)
# What the plugin's code uses of the host: the boundary, bound here to AsaApi.
add_library(tinyhorde_host INTERFACE)
target_link_libraries(tinyhorde_host INTERFACE tinyhorde_host_headers tinyhorde_host_asaapi)

# The plugin's own code, a library per folder as on Linux (cmake/layers.cmake); plugin/ makes
# the DLL of them. The JSON reader is the SDK's bundled copy, reached through the boundary.
include(cmake/layers.cmake)
set(TINYHORDE_JSON_LIBRARY "")
tinyhorde_add_layers()
