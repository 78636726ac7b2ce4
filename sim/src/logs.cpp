#include "sim/logs.h"

#include <spdlog/sinks/base_sink.h>
#include <spdlog/sinks/basic_file_sink.h>

namespace sim {

namespace {

std::string WithoutLineEnd(const spdlog::memory_buf_t& buffer) {
  std::string text(buffer.data(), buffer.size());
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

class ConsoleSink : public spdlog::sinks::base_sink<std::mutex> {
 public:
  explicit ConsoleSink(std::function<void(const std::string&)> out) : out_(std::move(out)) {}

 protected:
  void sink_it_(const spdlog::details::log_msg& msg) override {
    spdlog::memory_buf_t formatted;
    formatter_->format(msg, formatted);
    out_("log " + WithoutLineEnd(formatted));
  }
  void flush_() override {}

 private:
  std::function<void(const std::string&)> out_;
};

}  // namespace

class MemorySink : public spdlog::sinks::base_sink<std::mutex> {
 public:
  std::vector<LogSinks::Line> Lines() {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
  }
  std::vector<LogSinks::Line> Take() {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::move(lines_);
  }

 protected:
  void sink_it_(const spdlog::details::log_msg& msg) override {
    spdlog::memory_buf_t formatted;
    formatter_->format(msg, formatted);
    lines_.push_back(LogSinks::Line{
        WithoutLineEnd(formatted), std::string(msg.payload.data(), msg.payload.size()), msg.level});
  }
  void flush_() override {}

 private:
  std::vector<LogSinks::Line> lines_;
};

LogSinks::LogSinks(const std::filesystem::path& file,
                   std::function<void(const std::string&)> console)
    : file_(file), memory_(std::make_shared<MemorySink>()) {
  std::filesystem::create_directories(file.parent_path());
  sinks_.push_back(std::make_shared<ConsoleSink>(std::move(console)));
  sinks_.push_back(std::make_shared<spdlog::sinks::basic_file_sink_mt>(file.string()));
  sinks_.push_back(memory_);
}

LogSinks::~LogSinks() = default;

std::vector<LogSinks::Line> LogSinks::Lines() const {
  return memory_->Lines();
}
std::vector<LogSinks::Line> LogSinks::TakeLines() {
  return memory_->Take();
}

}  // namespace sim
