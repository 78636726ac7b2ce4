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
//
// Threads: Receive and the accessors on one thread at a time (the connection's network thread).
// The replies handed to the dispatcher may be called from any thread, also after the session is
// gone; they only call the byte sink.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "sim/rcon_request.h"

namespace sim {

// Takes the encoded bytes of whole packets for one connection, in the order they are to be sent.
// Called on the network thread for the session's own answers, and on any thread for the replies
// the dispatcher makes, so it must be thread-safe; it must also stay callable for as long as any
// reply handed out may be called.
using RconSend = std::function<void(std::string bytes)>;

class RconSession {
 public:
  // `client` is the connection number put into every request. An empty password refuses every
  // AUTH.
  RconSession(std::uint64_t client, std::string password, RconDispatch dispatch, RconSend send);

  // Takes the next received bytes and handles every packet they complete, in order. Answers false
  // when the input is malformed: the connection is to be closed, and replies still unsent may be
  // dropped. After that it ignores its input and keeps answering false.
  bool Receive(std::string_view bytes);

  bool authenticated() const { return authenticated_; }
  bool closed() const { return closed_; }
  // Received bytes that do not yet make up a whole packet (fewer than 4100).
  std::size_t buffered_bytes() const { return input_.size(); }

 private:
  void Handle(std::int32_t id, std::int32_t type, std::string body);
  void SendPacket(std::int32_t id, std::int32_t type);
  RconReply MakeReply() const;

  const std::uint64_t client_;
  const std::string password_;
  const RconDispatch dispatch_;
  const RconSend send_;
  std::string input_;  // received bytes not yet decoded
  bool authenticated_ = false;
  bool closed_ = false;
};

}  // namespace sim
