// How the listener takes packets apart: splits and batches, the size limits, the terminators,
// and broken input, which must close only the offending connection and never run a command.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <limits>
#include <string>

#include "rcon_test_client.h"
#include "rcon_test_support.h"
#include "sim/rcon_listener.h"

namespace {

using namespace std::chrono_literals;
using rcontest::Client;
using rcontest::ReadResult;
using rcontest::ReadStatus;
using rcontest::Recorder;

constexpr char kPassword[] = "hunter2";

// A listener whose dispatcher answers every command at once with "ok <body>".
class FramingTest : public ::testing::Test {
 protected:
  Recorder recorder_{[](const sim::RconRequest& request, const sim::RconReply& reply) {
    reply(request.id, rcontest::kResponseValue, "ok " + request.body);
  }};
  sim::RconListener listener_{0, kPassword, recorder_.Dispatch()};

  // Checks that a fresh client is served normally.
  void ExpectServed(const std::string& command) {
    Client client(listener_.Port());
    ASSERT_TRUE(client.Authenticate(kPassword));
    ASSERT_TRUE(client.SendPacket(99, rcontest::kExecCommand, command));
    const ReadResult reply = client.Read();
    ASSERT_EQ(reply.status, ReadStatus::kPacket);
    EXPECT_EQ(reply.packet.id, 99);
    EXPECT_EQ(reply.packet.body, "ok " + command);
  }
};

TEST_F(FramingTest, PacketsSplitByteByByteAreReassembled) {
  Client client(listener_.Port());
  std::string bytes = rcontest::EncodePacket(3, rcontest::kAuth, kPassword);
  bytes += rcontest::EncodePacket(4, rcontest::kExecCommand, "hordesize.setscale 0.4");
  ASSERT_TRUE(client.SendByteByByte(bytes, 500us));
  const ReadResult granted = client.Read();
  ASSERT_EQ(granted.status, ReadStatus::kPacket);
  EXPECT_EQ(granted.packet.type, rcontest::kAuthResponse);
  EXPECT_EQ(granted.packet.id, 3);
  const ReadResult reply = client.Read();
  ASSERT_EQ(reply.status, ReadStatus::kPacket);
  EXPECT_EQ(reply.packet.id, 4);
  EXPECT_EQ(reply.packet.body, "ok hordesize.setscale 0.4");
  ASSERT_EQ(recorder_.Count(), 1u);
  EXPECT_EQ(recorder_.Requests().at(0).body, "hordesize.setscale 0.4");
}

TEST_F(FramingTest, SeveralPacketsInOneWriteAreAllHandled) {
  Client client(listener_.Port());
  std::string bytes = rcontest::EncodePacket(1, rcontest::kAuth, kPassword);
  for (int i = 2; i <= 6; ++i) {
    const std::string number = std::to_string(i);
    bytes += rcontest::EncodePacket(i, rcontest::kExecCommand, "c" + number);
  }
  ASSERT_TRUE(client.Send(bytes));
  const ReadResult granted = client.Read();
  ASSERT_EQ(granted.packet.id, 1);
  ASSERT_EQ(granted.packet.type, rcontest::kAuthResponse);
  for (int i = 2; i <= 6; ++i) {
    const ReadResult reply = client.Read();
    ASSERT_EQ(reply.status, ReadStatus::kPacket);
    EXPECT_EQ(reply.packet.id, i);
    EXPECT_EQ(reply.packet.body, "ok c" + std::to_string(i));
  }
}

TEST_F(FramingTest, SmallestAndLargestSizesAreAccepted) {
  Client client(listener_.Port());
  ASSERT_TRUE(client.Authenticate(kPassword));
  // Size 10: an empty command.
  ASSERT_TRUE(
      client.Send(rcontest::EncodeRaw(10, 1, rcontest::kExecCommand, std::string(2, '\0'))));
  const ReadResult empty = client.Read();
  ASSERT_EQ(empty.status, ReadStatus::kPacket);
  EXPECT_EQ(empty.packet.body, "ok ");
  // Size 4096: a 4086-byte command, the longest the protocol carries.
  const std::string longest(4086, 'L');
  const std::string packet = rcontest::EncodePacket(2, rcontest::kExecCommand, longest);
  ASSERT_EQ(packet.size(), 4100u);
  ASSERT_TRUE(client.Send(packet));
  ASSERT_TRUE(recorder_.WaitForCount(2, 5s));
  EXPECT_EQ(recorder_.Requests().at(1).body, longest);
}

class BadSizeTest : public FramingTest, public ::testing::WithParamInterface<std::int32_t> {};

TEST_P(BadSizeTest, ClosesOnlyThatConnectionWithoutRunningAnything) {
  Client bystander(listener_.Port());
  ASSERT_TRUE(bystander.Authenticate(kPassword));
  Client offender(listener_.Port());
  ASSERT_TRUE(offender.Authenticate(kPassword));
  // The size field alone must be enough to close: nothing more is sent.
  ASSERT_TRUE(
      offender.Send(rcontest::EncodeRaw(GetParam(), 5, rcontest::kExecCommand, "").substr(0, 4)));
  EXPECT_TRUE(offender.WaitClosed());
  EXPECT_EQ(recorder_.Count(), 0u);

  ASSERT_TRUE(bystander.SendPacket(6, rcontest::kExecCommand, "still here"));
  const ReadResult reply = bystander.Read();
  ASSERT_EQ(reply.status, ReadStatus::kPacket);
  EXPECT_EQ(reply.packet.body, "ok still here");
  ExpectServed("after");
}

TEST_P(BadSizeTest, ClosesEvenWhenTheWholeClaimedPacketFollows) {
  Client offender(listener_.Port());
  ASSERT_TRUE(offender.Authenticate(kPassword));
  const std::int32_t size = GetParam();
  std::string tail = "status";
  if (size > 8) tail.resize(std::min<std::int32_t>(size, 5000) - 8, '\0');
  // The server may close before all of it is written, so the result does not matter.
  (void)offender.Send(rcontest::EncodeRaw(size, 5, rcontest::kExecCommand, tail));
  EXPECT_TRUE(offender.WaitClosed());
  EXPECT_EQ(recorder_.Count(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Sizes, BadSizeTest,
                         ::testing::Values(std::numeric_limits<std::int32_t>::min(), -1, 0, 8, 9,
                                           4097, 65536, std::numeric_limits<std::int32_t>::max()));

class MissingTerminatorTest : public FramingTest,
                              public ::testing::WithParamInterface<std::string> {};

TEST_P(MissingTerminatorTest, ClosesWithoutRunningTheCommand) {
  Client offender(listener_.Port());
  ASSERT_TRUE(offender.Authenticate(kPassword));
  const std::string& tail = GetParam();
  ASSERT_TRUE(offender.Send(rcontest::EncodeRaw(static_cast<std::int32_t>(8 + tail.size()), 5,
                                                rcontest::kExecCommand, tail)));
  EXPECT_TRUE(offender.WaitClosed());
  EXPECT_EQ(recorder_.Count(), 0u);
  ExpectServed("after");
}

INSTANTIATE_TEST_SUITE_P(Tails, MissingTerminatorTest,
                         ::testing::Values(std::string("statusxy"),      // no NUL at all
                                           std::string("status\0y", 8),  // only the first
                                           std::string("status\0", 7),   // only one, at the end
                                           std::string("\0\0\0x", 4),    // NULs, then junk
                                           std::string("xy")));          // size 10, no NULs

TEST_F(FramingTest, GoodPacketThenBadOneInTheSameWrite) {
  Client client(listener_.Port());
  ASSERT_TRUE(client.Authenticate(kPassword));
  std::string bytes = rcontest::EncodePacket(1, rcontest::kExecCommand, "first");
  bytes += rcontest::EncodeRaw(11, 3, rcontest::kExecCommand, std::string("x\0x", 3));  // bad end
  bytes += rcontest::EncodePacket(4, rcontest::kExecCommand, "never");
  ASSERT_TRUE(client.Send(bytes));
  // The connection closes at once; replies still unsent at that moment are dropped.
  EXPECT_TRUE(client.WaitClosed());
  ASSERT_EQ(recorder_.Count(), 1u);
  EXPECT_EQ(recorder_.Requests().at(0).body, "first");
}

TEST_F(FramingTest, DisconnectMidPacketThenOthersAreServed) {
  const std::string packet = rcontest::EncodePacket(7, rcontest::kExecCommand, "half a command");
  for (const std::size_t cut :
       {std::size_t{2}, std::size_t{4}, std::size_t{11}, packet.size() - 1}) {
    {
      Client quitter(listener_.Port());
      ASSERT_TRUE(quitter.Authenticate(kPassword));
      ASSERT_TRUE(quitter.Send(std::string_view(packet).substr(0, cut)));
    }  // closed here, mid-packet
    ExpectServed("after cut " + std::to_string(cut));
  }
  for (const sim::RconRequest& request : recorder_.Requests()) {
    EXPECT_NE(request.body, "half a command");
  }
}

TEST_F(FramingTest, UnauthenticatedGarbageIsClosed) {
  Client client(listener_.Port());
  ASSERT_TRUE(client.Send("GET / HTTP/1.1\r\nHost: localhost\r\n\r\n"));
  EXPECT_TRUE(client.WaitClosed());
  EXPECT_EQ(recorder_.Count(), 0u);
  ExpectServed("after garbage");
}

}  // namespace
