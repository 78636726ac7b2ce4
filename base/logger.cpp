#include "base/logger.h"

#include "host/services.h"

namespace tinyhorde {

std::shared_ptr<spdlog::logger>& LoggerHandle() {
  static std::shared_ptr<spdlog::logger> handle;
  return handle;
}

void CreateLogger() {
  auto& sinks = host::GetLogSinks();
  LoggerHandle() = std::make_shared<spdlog::logger>("Tinyhorde", sinks.begin(), sinks.end());
  LoggerHandle()->set_pattern("%D %R [%n][%l] %v", spdlog::pattern_time_type::local);
  LoggerHandle()->flush_on(spdlog::level::info);
}

void LogInfo(const std::string& message) {
  if (auto& logger = LoggerHandle()) logger->info(message);
}
void LogWarning(const std::string& message) {
  if (auto& logger = LoggerHandle()) logger->warn(message);
}
void LogError(const std::string& message) {
  if (auto& logger = LoggerHandle()) logger->error(message);
}
void LogDebug(const std::string& message) {
  if (auto& logger = LoggerHandle()) logger->debug(message);
}

}  // namespace tinyhorde
