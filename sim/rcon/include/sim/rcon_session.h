// The Source RCON protocol of one client connection, without the socket: bytes received go in,
// packets are taken apart, authentication is checked, commands go to the dispatcher, and the
// encoded answers go out through a byte sink. The listener owns one per connection; a fuzzer or a
// test can drive one directly.
//
// Protocol behaviour:
// - AUTH with the right password: one SERVERDATA_AUTH_RESPONSE under the request id, nothing
//   before or after it (clients that read each socket read as one packet need it alone). With a
//   wrong password: one AUTH_RESPONSE with id -1; the session stays unauthenticated (a later AUTH
//   may succeed), and a wrong password ends an earlier successful authentication. An empty
//   session password refuses every AUTH.
// - EXECCOMMAND before authentication: answered with AUTH_RESPONSE id -1, nothing runs. After it:
//   handed to the dispatcher, which answers through the RconReply it is given; the session adds
//   no packet of its own.
// - Packets of any other type are ignored.
// - A size field outside 10..4096, or a packet whose last two bytes are not both NUL, ends the
//   session at once: Receive answers false, and nothing later is handled.
// - Back-pressure: a dispatched command waits until the last copy of its reply is destroyed.
//   While max_waiting commands wait the session is full: it handles no further packet (whatever
//   its type, so that order is kept) and keeps the bytes received; the owner stops reading. When
//   a command of a full session is answered, the session's RconRoom is called, and the owner calls
//   Resume to handle what was kept.
//
// Threads: Receive, Resume and the accessors on one thread at a time (the connection's network
// thread). The replies handed to the dispatcher may be called and destroyed on any thread, also
// after the session is gone; they only call the byte sink and the RconRoom.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "sim/rcon_request.h"

namespace sim {

// Takes the encoded bytes of whole packets for one connection, in the order they are to be sent.
// Called on the network thread for the session's own answers, and on any thread for the replies
// the dispatcher makes, so it must be thread-safe; it must also stay callable for as long as any
// reply handed out may be called.
using RconSend = std::function<void(std::string bytes)>;

// Called when a command of a full session has been answered: the session has room again. Called
// on the thread that destroyed the reply's last copy, possibly after the session is gone; it must
// not call into the session, only arrange for Resume on the session's thread.
using RconRoom = std::function<void()>;

class RconSession {
 public:
  // `client` is the connection number put into every request. An empty password refuses every
  // AUTH. `max_waiting` (at least 1) is how many dispatched commands may wait at a time.
  RconSession(std::uint64_t client, std::string password, RconDispatch dispatch, RconSend send,
              RconRoom room = {}, std::size_t max_waiting = kMaxWaitingCommands);

  // Takes the next received bytes and handles the packets they complete, in order, until the
  // session is full. Answers false when the input is malformed: the connection is to be closed,
  // and replies still unsent may be dropped. After that it ignores its input and keeps answering
  // false.
  bool Receive(std::string_view bytes);
  // Handles the packets kept while the session was full, until it is full again. Answers as
  // Receive does.
  bool Resume();

  bool authenticated() const { return authenticated_; }
  bool closed() const { return closed_; }
  // Dispatched commands whose reply is still held somewhere.
  std::size_t waiting() const;
  // True while max_waiting commands wait: take no more input until the RconRoom is called.
  bool full() const;
  // Received bytes not yet handled: less than one packet (fewer than 4100) unless the session is
  // full.
  std::size_t buffered_bytes() const { return input_.size(); }

 private:
  struct Waiting;

  bool HandleBuffered();
  void Handle(std::int32_t id, std::int32_t type, std::string body);
  void SendPacket(std::int32_t id, std::int32_t type);
  RconReply MakeReply();

  const std::uint64_t client_;
  const std::string password_;
  const RconDispatch dispatch_;
  const RconSend send_;
  const std::shared_ptr<Waiting> waiting_;  // shared with every reply handed out
  std::string input_;                       // received bytes not yet decoded
  bool authenticated_ = false;
  bool closed_ = false;
};

}  // namespace sim
