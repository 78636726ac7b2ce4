// Source RCON packet framing: encoding and decoding of whole packets in memory. Pure functions
// with no I/O and no shared state, so they are safe on any thread.
//
// A packet on the wire, all integers little-endian:
//   int32 size   count of the bytes after this field (10..4096)
//   int32 id     chosen by the client, echoed by the server
//   int32 type   see the kType* constants
//   body bytes, then a NUL ending the body, then one more NUL
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sim::rcon {

inline constexpr std::int32_t kTypeAuth = 3;           // client -> server
inline constexpr std::int32_t kTypeAuthResponse = 2;   // server -> client
inline constexpr std::int32_t kTypeExecCommand = 2;    // client -> server
inline constexpr std::int32_t kTypeResponseValue = 0;  // server -> client
inline constexpr std::int32_t kRefusedId = -1;         // id of an AUTH_RESPONSE that refuses

inline constexpr std::size_t kSizeFieldBytes = 4;
inline constexpr std::int32_t kMinPacketSize = 10;    // id + type + two NULs, empty body
inline constexpr std::int32_t kMaxPacketSize = 4096;  // the protocol's limit
inline constexpr std::size_t kMaxBodyBytes = kMaxPacketSize - kMinPacketSize;

struct Packet {
  std::int32_t id = 0;
  std::int32_t type = 0;
  std::string body;  // without the two terminating NULs
};

enum class DecodeStatus {
  kNeedMore,       // the input holds only the start of a packet
  kOk,             // `packet` and `consumed` are set
  kBadSize,        // size field negative, below kMinPacketSize or above kMaxPacketSize
  kBadTerminator,  // the last two bytes of the packet are not both NUL
};

struct DecodeResult {
  DecodeStatus status = DecodeStatus::kNeedMore;
  std::size_t consumed = 0;  // bytes of the input that made up the packet (kOk only)
  Packet packet;
};

// Decodes the packet at the start of `input`. A bad size is reported as soon as the size field
// is complete, without waiting for the rest of the packet.
DecodeResult DecodePacket(std::string_view input);

// Appends one packet to `out`. Throws std::length_error when `body` is longer than kMaxBodyBytes.
void AppendPacket(std::string& out, std::int32_t id, std::int32_t type, std::string_view body);

// Appends `body` as consecutive packets of at most kMaxPacketSize bytes each, all under the same
// id and type. An empty body gives one packet with an empty body.
void AppendResponse(std::string& out, std::int32_t id, std::int32_t type, std::string_view body);

}  // namespace sim::rcon
