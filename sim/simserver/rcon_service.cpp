#include "rcon_service.h"

namespace simserver {

std::unique_ptr<sim::RconListener> ServeRcon(std::uint16_t port, const std::string& password,
                                             sim::TaskQueue& queue, sim::Console& console) {
  return std::make_unique<sim::RconListener>(
      port, password, [&queue, &console](const sim::RconRequest& request, sim::RconReply reply) {
        // The task holds the reply: the command waits for the game thread until it has run.
        queue.Post([&console, request, reply = std::move(reply)] {
          console.RunRcon(
              request.body, request.id,
              [&reply](int id, int type, const std::string& text) { reply(id, type, text); });
        });
      });
}

}  // namespace simserver
