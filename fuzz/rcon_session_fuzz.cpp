// libFuzzer target: arbitrary bytes into one RconSession, delivered in pieces of varying size,
// with a dispatcher that answers at once. A reference model of the protocol, written apart from
// the session, says what must come out; the target aborts on any difference and on any broken
// invariant:
//   - every packet sent is well formed and within the protocol's 4096-byte limit;
//   - until the first accepted AUTH nothing is sent but refusals (AUTH_RESPONSE, id -1, empty);
//   - no command is dispatched without authentication, each authenticated one exactly once;
//   - an AUTH is answered by exactly one packet; a command by its dispatcher's replies only;
//   - malformed input closes the session, and a closed session neither sends nor dispatches;
//   - the session never holds a whole packet's worth of undecoded input (< 4100 bytes).
//
// Input layout: byte 0 seeds the piece sizes, bit 0 of byte 1 selects an empty session password
// (which refuses everything), the rest is the byte stream from the client.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sim/rcon_session.h"

namespace {

constexpr char kPassword[] = "pw";
constexpr std::size_t kMaxBody = 4086;

struct Packet {
  std::int32_t id;
  std::int32_t type;
  std::string body;
  bool operator==(const Packet&) const = default;
};

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "rcon_session_fuzz: %s\n", what);
  std::abort();
}

void Check(bool condition, const char* what) {
  if (!condition) Fail(what);
}

std::int32_t Int32At(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  }
  return static_cast<std::int32_t>(value);
}

// Splits the session's output into packets, checking the framing of each.
std::vector<Packet> ParseSent(std::string_view bytes) {
  std::vector<Packet> packets;
  while (!bytes.empty()) {
    Check(bytes.size() >= 14, "sent a truncated packet");
    const std::int32_t size = Int32At(bytes, 0);
    Check(size >= 10 && size <= 4096, "sent a size field outside 10..4096");
    const auto total = static_cast<std::size_t>(size) + 4;
    Check(bytes.size() >= total, "sent a packet shorter than its size field");
    Check(bytes[total - 1] == '\0' && bytes[total - 2] == '\0', "sent a packet without NULs");
    packets.push_back(
        {Int32At(bytes, 4), Int32At(bytes, 8), std::string(bytes.substr(12, total - 14))});
    bytes.remove_prefix(total);
  }
  return packets;
}

// What the dispatcher answers to a body: nothing, the body, or a body too long for one packet.
std::string ReplyTo(const std::string& body) {
  switch (body.size() % 3) {
    case 0:
      return {};
    case 1:
      return "ran " + body;
    default:
      return body + std::string(kMaxBody + 7, 'r');
  }
}

// The protocol as the clients see it, applied to the whole stream at once.
struct Model {
  bool authenticated = false;
  bool closed = false;
  std::vector<Packet> sent;
  std::vector<std::string> dispatched;

  void Run(std::string_view stream, const std::string& password) {
    while (stream.size() >= 4) {
      const std::int32_t size = Int32At(stream, 0);
      if (size < 10 || size > 4096) {
        closed = true;
        return;
      }
      const auto total = static_cast<std::size_t>(size) + 4;
      if (stream.size() < total) return;
      if (stream[total - 1] != '\0' || stream[total - 2] != '\0') {
        closed = true;
        return;
      }
      const std::int32_t id = Int32At(stream, 4);
      const std::int32_t type = Int32At(stream, 8);
      const std::string body(stream.substr(12, total - 14));
      if (type == 3) {
        authenticated = !password.empty() && body == password;
        sent.push_back({authenticated ? id : -1, 2, ""});
      } else if (type == 2 && !authenticated) {
        sent.push_back({-1, 2, ""});
      } else if (type == 2) {
        dispatched.push_back(body);
        const std::string reply = ReplyTo(body);
        for (std::size_t at = 0; at < reply.size(); at += kMaxBody) {
          sent.push_back({id, 0, reply.substr(at, kMaxBody)});
        }
      }
      stream.remove_prefix(total);
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  std::uint32_t piece_seed = data[0] * 2654435761u + 1;
  const std::string password = (data[1] & 1) != 0 ? "" : kPassword;
  const std::string_view stream(reinterpret_cast<const char*>(data + 2), size - 2);

  // The sink and the dispatcher look at the session as it is when they are called.
  const sim::RconSession* watched = nullptr;
  auto out = std::make_shared<std::string>();
  std::vector<std::string> dispatched;
  sim::RconSession session(
      7, password,
      [&](const sim::RconRequest& request, sim::RconReply reply) {
        Check(watched->authenticated(), "dispatched without authentication");
        Check(!watched->closed(), "dispatched after closing");
        Check(request.client == 7, "dispatched under another connection number");
        dispatched.push_back(request.body);
        const std::string text = ReplyTo(request.body);
        if (!text.empty()) reply(request.id, 0, text);
      },
      [&watched, out](std::string bytes) {
        Check(!watched->closed(), "sent after closing");
        if (!watched->authenticated()) {
          for (const Packet& packet : ParseSent(bytes)) {
            Check(packet == Packet{-1, 2, ""}, "sent something but a refusal before auth");
          }
        }
        out->append(bytes);
      });
  watched = &session;

  std::size_t at = 0;
  while (at < stream.size()) {
    piece_seed ^= piece_seed << 13;
    piece_seed ^= piece_seed >> 17;
    piece_seed ^= piece_seed << 5;
    const std::size_t piece = 1 + piece_seed % ((piece_seed & 0x100) != 0 ? 8 : 200);
    const bool was_closed = session.closed();
    const std::size_t sent_before = out->size();
    const bool open = session.Receive(stream.substr(at, piece));
    at += piece;
    Check(open == !session.closed(), "Receive disagrees with closed()");
    Check(session.buffered_bytes() < 4100, "a whole packet was left undecoded");
    if (was_closed) Check(!open && out->size() == sent_before, "a closed session went on");
  }

  Model model;
  model.Run(stream, password);
  Check(model.closed == session.closed(), "closed when the model did not, or the other way");
  Check(model.dispatched == dispatched, "dispatched other commands than the model");
  Check(model.sent == ParseSent(*out), "sent other packets than the model");
  return 0;
}
