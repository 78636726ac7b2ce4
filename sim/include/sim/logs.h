// The host's log sinks: the console (each line handed to the server's output as "log <line>"), a
// file under the server root, and an in-memory sink that tests read. A plugin's logger shares
// these sinks; lines reach them formatted by whatever pattern the sinks were last given.
//
// The host writes its own lines through its logger "API" over the same sinks, with the pattern
// the real host gives them ("%D %R [%n][%l] %v", local time).
//
// While the log switch is on, every sink throws std::runtime_error on each write (a log that
// cannot be written); a logger decides what becomes of that (spdlog's loggers report it on
// standard error and go on).
#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <spdlog/common.h>
#include <spdlog/logger.h>

namespace sim {

class MemorySink;

class LogSinks {
 public:
  struct Line {
    std::string formatted;  // as written, without the line end
    std::string message;    // the message alone
    spdlog::level::level_enum level;
  };

  LogSinks(const std::filesystem::path& file, std::function<void(const std::string&)> console,
           std::shared_ptr<const std::atomic<bool>> failing);
  ~LogSinks();

  std::vector<spdlog::sink_ptr>& Sinks() { return sinks_; }
  std::vector<Line> Lines() const;
  std::vector<Line> TakeLines();
  const std::filesystem::path& File() const { return file_; }

  // The host's own logger.
  spdlog::logger& Host() { return *host_; }

 private:
  std::filesystem::path file_;
  std::shared_ptr<MemorySink> memory_;
  std::vector<spdlog::sink_ptr> sinks_;
  std::shared_ptr<spdlog::logger> host_;
};

}  // namespace sim
