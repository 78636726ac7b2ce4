#include "standard_input.h"

#include <iostream>
#include <utility>

namespace simserver {

StandardInput::StandardInput(sim::TaskQueue& queue,
                             std::function<void(const std::string&)> run_line)
    : run_line_(std::move(run_line)), reader_([this, &queue] {
        for (std::string line; std::getline(std::cin, line);)
          queue.Post([this, line] { run_line_(line); });
        queue.Post([this] { ended_ = true; });
      }) {}

StandardInput::~StandardInput() {
  if (reader_.joinable()) reader_.join();
}

void StandardInput::Abandon() {
  if (reader_.joinable()) reader_.detach();
}

}  // namespace simserver
