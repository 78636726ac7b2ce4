// <fmt/format.h> on Windows: the fmt bundled with the SDK's spdlog, which the SDK's own headers
// also mean by "fmt/format.h". A newer fmt shares its include guard, so whichever is read first
// wins; the check below fails the build if that was not the bundled one.
#pragma once

#include <spdlog/fmt/fmt.h>

static_assert(FMT_VERSION < 50000, "<fmt/format.h> must be the fmt bundled with the AsaApi SDK");
