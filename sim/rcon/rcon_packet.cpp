#include "rcon_packet.h"

#include <stdexcept>

namespace sim::rcon {
namespace {

std::int32_t ReadInt32(std::string_view bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
  }
  return static_cast<std::int32_t>(value);
}

void AppendInt32(std::string& out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (std::size_t i = 0; i < 4; ++i) {
    out.push_back(static_cast<char>((bits >> (8 * i)) & 0xFFu));
  }
}

}  // namespace

DecodeResult DecodePacket(std::string_view input) {
  DecodeResult result;
  if (input.size() < kSizeFieldBytes) return result;
  const std::int32_t size = ReadInt32(input, 0);
  if (size < kMinPacketSize || size > kMaxPacketSize) {
    result.status = DecodeStatus::kBadSize;
    return result;
  }
  const std::size_t total = kSizeFieldBytes + static_cast<std::size_t>(size);
  if (input.size() < total) return result;
  if (input[total - 1] != '\0' || input[total - 2] != '\0') {
    result.status = DecodeStatus::kBadTerminator;
    return result;
  }
  result.status = DecodeStatus::kOk;
  result.consumed = total;
  result.packet.id = ReadInt32(input, 4);
  result.packet.type = ReadInt32(input, 8);
  result.packet.body.assign(input.substr(12, total - 12 - 2));
  return result;
}

void AppendPacket(std::string& out, std::int32_t id, std::int32_t type, std::string_view body) {
  if (body.size() > kMaxBodyBytes) throw std::length_error("rcon packet body too long");
  out.reserve(out.size() + kSizeFieldBytes + kMinPacketSize + body.size());
  AppendInt32(out, static_cast<std::int32_t>(body.size()) + kMinPacketSize);
  AppendInt32(out, id);
  AppendInt32(out, type);
  out.append(body);
  out.push_back('\0');
  out.push_back('\0');
}

void AppendResponse(std::string& out, std::int32_t id, std::int32_t type, std::string_view body) {
  do {
    const std::string_view chunk = body.substr(0, kMaxBodyBytes);
    AppendPacket(out, id, type, chunk);
    body.remove_prefix(chunk.size());
  } while (!body.empty());
}

}  // namespace sim::rcon
