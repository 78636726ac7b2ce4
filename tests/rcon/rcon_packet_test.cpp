// The packet codec on its own: framing, limits, and the splitting of long bodies.
#include "rcon_packet.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "rcon_test_client.h"

namespace {

using sim::rcon::DecodePacket;
using sim::rcon::DecodeStatus;

TEST(RconPacket, EncodedPacketMatchesTheWireLayout) {
  std::string out;
  sim::rcon::AppendPacket(out, -2, 3, "ab");
  EXPECT_EQ(out, rcontest::EncodePacket(-2, 3, "ab"));
  EXPECT_EQ(out, std::string("\x0c\0\0\0\xfe\xff\xff\xff\x03\0\0\0ab\0\0", 16));
}

TEST(RconPacket, EveryProperPrefixNeedsMore) {
  const std::string packet = rcontest::EncodePacket(12, 2, "hordesize.resizeall");
  for (std::size_t length = 0; length < packet.size(); ++length) {
    EXPECT_EQ(DecodePacket(std::string_view(packet).substr(0, length)).status,
              DecodeStatus::kNeedMore)
        << "prefix of " << length;
  }
  const auto whole = DecodePacket(packet + "trailing bytes of the next packet");
  ASSERT_EQ(whole.status, DecodeStatus::kOk);
  EXPECT_EQ(whole.consumed, packet.size());
  EXPECT_EQ(whole.packet.id, 12);
  EXPECT_EQ(whole.packet.type, 2);
  EXPECT_EQ(whole.packet.body, "hordesize.resizeall");
}

TEST(RconPacket, BadSizeIsKnownFromTheSizeFieldAlone) {
  for (const std::int32_t size : {-2147483647 - 1, -10, 0, 9, 4097, 2147483647}) {
    const std::string field = rcontest::EncodeRaw(size, 0, 0, "").substr(0, 4);
    EXPECT_EQ(DecodePacket(field).status, DecodeStatus::kBadSize) << size;
  }
  for (const std::int32_t size : {10, 4096}) {
    const std::string field = rcontest::EncodeRaw(size, 0, 0, "").substr(0, 4);
    EXPECT_EQ(DecodePacket(field).status, DecodeStatus::kNeedMore) << size;
  }
}

TEST(RconPacket, BodyKeepsEmbeddedNulsAndNeedsBothTerminators) {
  const auto embedded = DecodePacket(rcontest::EncodeRaw(13, 1, 2, std::string("a\0b\0\0", 5)));
  ASSERT_EQ(embedded.status, DecodeStatus::kOk);
  EXPECT_EQ(embedded.packet.body, std::string("a\0b", 3));
  EXPECT_EQ(DecodePacket(rcontest::EncodeRaw(12, 1, 2, std::string("ab\0\x01", 4))).status,
            DecodeStatus::kBadTerminator);
  EXPECT_EQ(DecodePacket(rcontest::EncodeRaw(10, 1, 2, std::string("\x01\0", 2))).status,
            DecodeStatus::kBadTerminator);
}

TEST(RconPacket, OversizedBodyIsRefusedByAppendPacket) {
  std::string out;
  EXPECT_NO_THROW(sim::rcon::AppendPacket(out, 1, 0, std::string(sim::rcon::kMaxBodyBytes, 'a')));
  EXPECT_EQ(out.size(), 4100u);
  EXPECT_THROW(sim::rcon::AppendPacket(out, 1, 0, std::string(sim::rcon::kMaxBodyBytes + 1, 'a')),
               std::length_error);
}

TEST(RconPacket, ResponseSplitsAtThePacketLimit) {
  const std::size_t max = sim::rcon::kMaxBodyBytes;
  for (const std::size_t length :
       {std::size_t{0}, std::size_t{1}, max, max + 1, 2 * max, 2 * max + 5}) {
    std::string body(length, '\0');
    for (std::size_t i = 0; i < length; ++i) body[i] = static_cast<char>('a' + i % 26);
    std::string out;
    sim::rcon::AppendResponse(out, 8, 0, body);
    std::string_view rest = out;
    std::string joined;
    std::size_t packets = 0;
    while (!rest.empty()) {
      const auto decoded = DecodePacket(rest);
      ASSERT_EQ(decoded.status, DecodeStatus::kOk) << "length " << length;
      EXPECT_EQ(decoded.packet.id, 8);
      if (rest.size() > decoded.consumed) {
        EXPECT_EQ(decoded.packet.body.size(), max);  // only the last packet may be shorter
      }
      joined += decoded.packet.body;
      rest.remove_prefix(decoded.consumed);
      ++packets;
    }
    EXPECT_EQ(joined, body);
    EXPECT_EQ(packets, length == 0 ? 1 : (length + max - 1) / max) << "length " << length;
  }
}

}  // namespace
