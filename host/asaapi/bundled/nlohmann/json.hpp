// <nlohmann/json.hpp> on Windows: the nlohmann json shipped with the AsaApi SDK (json.hpp in
// AsaApi/Core/Public), so that the plugin and the host agree on one copy.
#pragma once

#include <json.hpp>

static_assert(NLOHMANN_JSON_VERSION_MAJOR == 3 && NLOHMANN_JSON_VERSION_MINOR == 10,
              "<nlohmann/json.hpp> must be the json.hpp shipped with the AsaApi SDK");
