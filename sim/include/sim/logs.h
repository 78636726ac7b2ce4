// The host's log sinks: the console (each line handed to the server's output as "log <line>"), a
// file under the server root, and an in-memory sink that tests read. A plugin's logger shares
// these sinks; lines reach them formatted by whatever pattern the sinks were last given.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <spdlog/common.h>

namespace sim {

class MemorySink;

class LogSinks {
 public:
  struct Line {
    std::string formatted;  // as written, without the line end
    std::string message;    // the message alone
    spdlog::level::level_enum level;
  };

  LogSinks(const std::filesystem::path& file, std::function<void(const std::string&)> console);
  ~LogSinks();

  std::vector<spdlog::sink_ptr>& Sinks() { return sinks_; }
  std::vector<Line> Lines() const;
  std::vector<Line> TakeLines();
  const std::filesystem::path& File() const { return file_; }

 private:
  std::filesystem::path file_;
  std::shared_ptr<MemorySink> memory_;
  std::vector<spdlog::sink_ptr> sinks_;
};

}  // namespace sim
