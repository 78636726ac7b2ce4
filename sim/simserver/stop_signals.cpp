#include "stop_signals.h"

#include <atomic>
#include <csignal>

namespace simserver {
namespace {

std::atomic<bool> stop_requested{false};

extern "C" void OnStopSignal(int) {
  stop_requested = true;
}

}  // namespace

void InstallStopSignals() {
  std::signal(SIGINT, OnStopSignal);
  std::signal(SIGTERM, OnStopSignal);
  std::signal(SIGPIPE, OnStopSignal);
}

bool StopRequested() {
  return stop_requested;
}

}  // namespace simserver
