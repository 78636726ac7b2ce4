// What an RCON connection hands to the game: one authenticated command, and the way to answer it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
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

// Called on the connection's network thread for each command; it is expected to hand the work to
// the game thread and reply from there. Replies are sent in the order they are made. It must not
// block for long: it holds up every connection. An exception it throws is swallowed and the
// connection goes on. It is not called after the listener's destructor has returned.
//
// A command waits for the game until the last copy of its reply is destroyed, whether or not the
// reply was called: whoever holds a reply holds up its connection. While kMaxWaitingCommands of
// one connection's commands wait, no more of that connection's input is read or dispatched.
using RconDispatch = std::function<void(const RconRequest& request, RconReply reply)>;

// How many of one connection's commands may wait for the game at a time. A client that pipelines
// more is read no further until one of them is answered, so that one client cannot fill the game
// thread's queue and hold up every other client behind its backlog.
inline constexpr std::size_t kMaxWaitingCommands = 16;

}  // namespace sim
