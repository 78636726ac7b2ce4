#include "sim/logs.h"

#include <stdexcept>

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

// A sink that throws on every write while its switch is on, and otherwise hands the line on.
class SwitchedSink : public spdlog::sinks::sink {
 public:
  SwitchedSink(spdlog::sink_ptr inner, std::shared_ptr<const std::atomic<bool>> failing)
      : inner_(std::move(inner)), failing_(std::move(failing)) {}

  void log(const spdlog::details::log_msg& msg) override {
    if (*failing_) throw std::runtime_error("the log cannot be written");
    inner_->log(msg);
  }
  void flush() override { inner_->flush(); }
  void set_pattern(const std::string& pattern) override { inner_->set_pattern(pattern); }
  void set_formatter(std::unique_ptr<spdlog::formatter> formatter) override {
    inner_->set_formatter(std::move(formatter));
  }

 private:
  spdlog::sink_ptr inner_;
  std::shared_ptr<const std::atomic<bool>> failing_;
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
                   std::function<void(const std::string&)> console,
                   std::shared_ptr<const std::atomic<bool>> failing)
    : file_(file), memory_(std::make_shared<MemorySink>()) {
  std::filesystem::create_directories(file.parent_path());
  const spdlog::sink_ptr inner[] = {
      std::make_shared<ConsoleSink>(std::move(console)),
      std::make_shared<spdlog::sinks::basic_file_sink_mt>(file.string()), memory_};
  for (const auto& sink : inner) sinks_.push_back(std::make_shared<SwitchedSink>(sink, failing));
  host_ = std::make_shared<spdlog::logger>("API", sinks_.begin(), sinks_.end());
  host_->set_pattern("%D %R [%n][%l] %v", spdlog::pattern_time_type::local);
  host_->flush_on(spdlog::level::info);
}

LogSinks::~LogSinks() = default;

std::vector<LogSinks::Line> LogSinks::Lines() const {
  return memory_->Lines();
}
std::vector<LogSinks::Line> LogSinks::TakeLines() {
  return memory_->Take();
}

}  // namespace sim
