// The plugin's one logger, over the host's log sinks. It is empty until Plugin_Init creates it
// and stays set after Plugin_Unload; every line is skipped while it is empty.
//
// Messages are formatted by the caller (fmt::format) and handed over whole, so that only the
// part of the logging interface that every supported spdlog version shares is used.
#pragma once

#include <memory>
#include <string>

#include <spdlog/logger.h>

namespace tinyhorde {

std::shared_ptr<spdlog::logger>& LoggerHandle();
inline bool HasLogger() {
  return LoggerHandle() != nullptr;
}

// Creates the logger "Tinyhorde" over the host's sinks, with its pattern and flush level, and
// stores it in the handle (replacing an earlier one).
void CreateLogger();

void LogInfo(const std::string& message);
void LogWarning(const std::string& message);
void LogError(const std::string& message);
void LogDebug(const std::string& message);

}  // namespace tinyhorde
