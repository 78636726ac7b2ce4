// A Source-protocol RCON listener for the simulated game server: accepts TCP connections on
// 127.0.0.1 and runs the protocol of each one (RconSession: authentication, commands, refusals)
// over its socket. Answers go out in the order they were made. A connection whose input is
// malformed is closed at once, and replies not yet sent to it are dropped; so is a client that
// lets more than about 1 MiB of replies pile up unread.
//
// Back-pressure: a connection is read no further while kMaxWaitingCommands of its commands wait
// for the game (see RconDispatch), or while more than 512 KiB of replies wait for its socket; the
// client's further commands wait in its own socket until then. Other connections go on.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "sim/rcon_request.h"

namespace sim {

class RconListener {
 public:
  // Listens on 127.0.0.1:port (0 picks a free port) with its own network thread. Throws
  // std::runtime_error when it cannot bind.
  RconListener(std::uint16_t port, std::string password, RconDispatch dispatch);
  ~RconListener();  // stops listening, closes every connection, joins the thread
  RconListener(const RconListener&) = delete;
  RconListener& operator=(const RconListener&) = delete;

  std::uint16_t Port() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace sim
