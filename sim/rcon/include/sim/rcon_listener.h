// A Source-protocol RCON listener for the simulated game server: accepts TCP connections on
// 127.0.0.1, authenticates them against a password and hands each command to a dispatcher.
//
// Protocol behaviour:
// - AUTH with the right password: an empty SERVERDATA_RESPONSE_VALUE under the request id, then
//   SERVERDATA_AUTH_RESPONSE under the request id. With a wrong password: one AUTH_RESPONSE with
//   id -1; the connection stays open and unauthenticated (a later AUTH may succeed). An empty
//   listener password refuses every AUTH.
// - EXECCOMMAND before authentication: answered with AUTH_RESPONSE id -1, nothing runs.
// - Packets of any other type are ignored.
// - A size field outside 10..4096, or a packet whose last two bytes are not both NUL, closes
//   that connection at once; replies not yet sent to it are dropped. So is a client that lets
//   more than about 1 MiB of replies pile up unread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace sim {

// One authenticated command request.
struct RconRequest {
  std::uint64_t client;  // connection number, unique per listener
  std::int32_t id;       // the request id from the packet
  std::string body;      // the command line, without terminators
};

// Sends one response packet (SERVERDATA_RESPONSE_VALUE, or the given type) to the client that
// made the request, under the given id. Thread-safe; may be called from any thread, any number of
// times, also after the client has gone or the listener has been destroyed (then it does
// nothing). A body longer than the 4086 bytes one packet holds goes out as consecutive packets
// under the same id and type.
using RconReply = std::function<void(std::int32_t id, std::int32_t type, const std::string& body)>;

// Called on the listener's network thread for each command; it is expected to hand the work to
// the game thread and reply from there. Replies are sent in the order they are made. It must not
// block for long: it holds up every connection. An exception it throws is swallowed and the
// listener goes on serving. It is not called after the destructor has returned.
using RconDispatch = std::function<void(const RconRequest& request, RconReply reply)>;

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
