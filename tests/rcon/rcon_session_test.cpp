// The protocol of one connection without a socket: what each packet sequence makes the session
// answer and dispatch, how it takes input in pieces, and when it gives up on a connection.
#include "sim/rcon_session.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "rcon_packet.h"
#include "rcon_test_client.h"

namespace {

using rcontest::EncodePacket;
using rcontest::EncodeRaw;
using rcontest::kAuth;
using rcontest::kAuthResponse;
using rcontest::kExecCommand;
using rcontest::kResponseValue;

constexpr char kPassword[] = "pw";

struct Sent {
  std::int32_t id;
  std::int32_t type;
  std::string body;
  bool operator==(const Sent&) const = default;
};

void PrintTo(const Sent& sent, std::ostream* out) {
  *out << "{" << sent.id << ", " << sent.type << ", \"" << sent.body << "\"}";
}

// A session whose dispatcher answers "ran <body>" at once, and throws for "throw". Everything
// sent is kept as bytes and decoded on request.
class Harness {
 public:
  Harness()
      : session_(
            42, kPassword,
            [this](const sim::RconRequest& request, sim::RconReply reply) {
              dispatched.push_back(request.body);
              EXPECT_EQ(request.client, 42u);
              if (request.body == "throw") throw std::runtime_error("dispatcher failure");
              reply(request.id, kResponseValue, "ran " + request.body);
            },
            [out = out_](std::string bytes) { out->append(bytes); }) {}

  sim::RconSession& session() { return session_; }

  // Every packet sent so far, decoded; a broken packet fails the test.
  std::vector<Sent> SentPackets() const {
    std::vector<Sent> sent;
    std::string_view rest = *out_;
    while (!rest.empty()) {
      const auto result = sim::rcon::DecodePacket(rest);
      if (result.status != sim::rcon::DecodeStatus::kOk) {
        ADD_FAILURE() << "broken packet in the output";
        break;
      }
      sent.push_back({result.packet.id, result.packet.type, result.packet.body});
      rest.remove_prefix(result.consumed);
    }
    return sent;
  }

  std::vector<std::string> dispatched;

 private:
  std::shared_ptr<std::string> out_ = std::make_shared<std::string>();
  sim::RconSession session_;
};

const Sent kGranted7{7, kAuthResponse, ""};
const Sent kRefused{-1, kAuthResponse, ""};

struct Exchange {
  const char* name;
  std::string input;
  std::vector<Sent> sent;
  std::vector<std::string> dispatched;
  bool stays_open;
};

void PrintTo(const Exchange& exchange, std::ostream* out) {
  *out << exchange.name;
}

std::vector<Exchange> Exchanges() {
  const std::string auth = EncodePacket(7, kAuth, kPassword);
  return {
      {"RightPassword", auth, {kGranted7}, {}, true},
      {"WrongPassword", EncodePacket(7, kAuth, "PW"), {kRefused}, {}, true},
      {"CommandBeforeAuth", EncodePacket(8, kExecCommand, "x"), {kRefused}, {}, true},
      {"CommandAfterAuth",
       auth + EncodePacket(8, kExecCommand, "x"),
       {kGranted7, {8, kResponseValue, "ran x"}},
       {"x"},
       true},
      {"WrongPasswordEndsAuth",
       auth + EncodePacket(9, kAuth, "nope") + EncodePacket(8, kExecCommand, "x"),
       {kGranted7, kRefused, kRefused},
       {},
       true},
      {"ThrowingDispatcherThenNextCommand",
       auth + EncodePacket(8, kExecCommand, "throw") + EncodePacket(9, kExecCommand, "y"),
       {kGranted7, {9, kResponseValue, "ran y"}},
       {"throw", "y"},
       true},
      {"BadSizeStopsEverythingAfterIt",
       auth + EncodePacket(8, kExecCommand, "x") + EncodeRaw(4097, 9, kExecCommand, "") +
           EncodePacket(10, kExecCommand, "never"),
       {kGranted7, {8, kResponseValue, "ran x"}},
       {"x"},
       false},
      {"UnauthenticatedGarbageCloses", "GET / HTTP/1.1\r\n\r\n", {}, {}, false},
  };
}

class SessionExchange : public ::testing::TestWithParam<Exchange> {};

TEST_P(SessionExchange, WholeInputAtOnce) {
  Harness harness;
  EXPECT_EQ(harness.session().Receive(GetParam().input), GetParam().stays_open);
  EXPECT_EQ(harness.SentPackets(), GetParam().sent);
  EXPECT_EQ(harness.dispatched, GetParam().dispatched);
}

TEST_P(SessionExchange, OneByteAtATime) {
  Harness harness;
  bool open = true;
  for (const char byte : GetParam().input) {
    open = harness.session().Receive(std::string_view(&byte, 1));
    EXPECT_LT(harness.session().buffered_bytes(), 4100u);
    if (!open) break;
  }
  EXPECT_EQ(open, GetParam().stays_open);
  EXPECT_EQ(harness.session().closed(), !GetParam().stays_open);
  EXPECT_EQ(harness.SentPackets(), GetParam().sent);
  EXPECT_EQ(harness.dispatched, GetParam().dispatched);
}

INSTANTIATE_TEST_SUITE_P(Inputs, SessionExchange, ::testing::ValuesIn(Exchanges()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RconSession, ClosedSessionIgnoresLaterInput) {
  Harness harness;
  ASSERT_FALSE(harness.session().Receive(EncodeRaw(9, 1, kAuth, "")));
  EXPECT_FALSE(harness.session().Receive(EncodePacket(7, kAuth, kPassword)));
  EXPECT_EQ(harness.session().buffered_bytes(), 0u);
  EXPECT_TRUE(harness.SentPackets().empty());
}

}  // namespace
