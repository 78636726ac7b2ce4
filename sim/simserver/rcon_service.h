// simserver's RCON: a listener on 127.0.0.1 whose commands run on the game thread, each as one
// task of the game queue, in turn with the console's lines.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "sim/console.h"
#include "sim/rcon_listener.h"
#include "sim/task_queue.h"

namespace simserver {

// Listens on `port` (0: any free one). Throws std::runtime_error when it cannot. The queue and
// the console must outlive the listener; tasks still queued when it is gone answer no one.
std::unique_ptr<sim::RconListener> ServeRcon(std::uint16_t port, const std::string& password,
                                             sim::TaskQueue& queue, sim::Console& console);

}  // namespace simserver
