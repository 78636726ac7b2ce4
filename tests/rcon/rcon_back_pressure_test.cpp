// Back-pressure: how many of one connection's commands may wait for the game at a time, seen
// from the session (held replies, kept input, room and Resume) and from real clients that
// pipeline far more commands than that.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "rcon_packet.h"
#include "rcon_test_client.h"
#include "sim/rcon_listener.h"
#include "sim/rcon_session.h"
#include "sim/task_queue.h"

namespace {

using namespace std::chrono_literals;
using rcontest::Client;
using rcontest::EncodePacket;
using rcontest::kAuth;
using rcontest::kExecCommand;
using rcontest::kResponseValue;
using rcontest::ReadResult;
using rcontest::ReadStatus;

constexpr char kPassword[] = "pw";

// A session with room for `limit` waiting commands whose dispatcher keeps every reply, so that
// the test decides when each command is answered.
class HeldReplies {
 public:
  explicit HeldReplies(std::size_t limit)
      : session_(
            1, kPassword,
            [this](const sim::RconRequest& request, sim::RconReply reply) {
              dispatched.push_back(request.id);
              held.push_back(std::move(reply));
            },
            [out = out_](std::string bytes) { out->append(bytes); }, [rooms = rooms_] { ++*rooms; },
            limit) {}

  sim::RconSession& session() { return session_; }
  // The ids of the packets sent so far, in order.
  std::vector<std::int32_t> SentIds() const {
    std::vector<std::int32_t> ids;
    std::string_view rest = *out_;
    while (!rest.empty()) {
      const auto result = sim::rcon::DecodePacket(rest);
      if (result.status != sim::rcon::DecodeStatus::kOk) {
        ADD_FAILURE() << "broken packet in the output";
        break;
      }
      ids.push_back(result.packet.id);
      rest.remove_prefix(result.consumed);
    }
    return ids;
  }

  // Times the session's RconRoom was called; it may be called after the session is gone.
  int rooms() const { return *rooms_; }
  std::shared_ptr<int> rooms_counter() const { return rooms_; }

  std::vector<std::int32_t> dispatched;
  std::vector<sim::RconReply> held;

 private:
  std::shared_ptr<std::string> out_ = std::make_shared<std::string>();
  std::shared_ptr<int> rooms_ = std::make_shared<int>(0);
  sim::RconSession session_;
};

std::string Commands(std::int32_t first, std::int32_t count) {
  std::string bytes;
  for (std::int32_t id = first; id < first + count; ++id) {
    bytes += EncodePacket(id, kExecCommand, "cmd " + std::to_string(id));
  }
  return bytes;
}

TEST(RconSessionBackPressure, FullSessionKeepsItsInputUntilAReplyIsDropped) {
  HeldReplies harness(3);
  sim::RconSession& session = harness.session();
  // Four commands, then an AUTH that must not overtake them.
  ASSERT_TRUE(session.Receive(EncodePacket(7, kAuth, kPassword) + Commands(1, 4) +
                              EncodePacket(9, kAuth, kPassword)));
  EXPECT_EQ(harness.dispatched, (std::vector<std::int32_t>{1, 2, 3}));
  EXPECT_TRUE(session.full());
  EXPECT_EQ(session.waiting(), 3u);
  EXPECT_GT(session.buffered_bytes(), 0u);
  // More input is kept, not handled, however much of it comes.
  ASSERT_TRUE(session.Receive(Commands(5, 100)));
  EXPECT_EQ(harness.dispatched.size(), 3u);
  EXPECT_EQ(harness.SentIds(), (std::vector<std::int32_t>{7}));

  // Calling a reply answers nothing: the command waits while a copy of its reply is held.
  harness.held[0](1, kResponseValue, "one");
  EXPECT_TRUE(session.full());
  EXPECT_EQ(harness.rooms(), 0);
  // Dropping it makes room, once; Resume takes exactly one more command.
  harness.held[0] = nullptr;
  EXPECT_EQ(harness.rooms(), 1);
  EXPECT_FALSE(session.full());
  ASSERT_TRUE(session.Resume());
  EXPECT_EQ(harness.dispatched, (std::vector<std::int32_t>{1, 2, 3, 4}));
  EXPECT_TRUE(session.full());

  // Dropping two at once calls room once (only the drop from full does), and Resume takes two:
  // the AUTH kept in order is answered between the fourth and the fifth command.
  harness.held[1] = nullptr;
  harness.held[2] = nullptr;
  EXPECT_EQ(harness.rooms(), 2);
  ASSERT_TRUE(session.Resume());
  EXPECT_EQ(harness.dispatched, (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(harness.SentIds(), (std::vector<std::int32_t>{7, 1, 9}));

  // A malformed packet kept behind a full session closes it only when it is reached: after the
  // last of the commands before it, three at a time.
  ASSERT_TRUE(session.Receive(rcontest::EncodeRaw(5, 0, 0, "")));
  bool open = true;
  int resumes = 0;
  for (; open && resumes < 100; ++resumes) {
    harness.held.clear();
    open = session.Resume();
    if (open) {
      EXPECT_EQ(harness.held.size(), 3u);
    }
  }
  EXPECT_FALSE(open);
  EXPECT_TRUE(session.closed());
  EXPECT_EQ(resumes, 33);  // 98 commands after the sixth, then the bad size
  EXPECT_EQ(harness.dispatched.size(), 104u);
  EXPECT_EQ(harness.dispatched.back(), 104);
  EXPECT_EQ(session.buffered_bytes(), 0u);
}

// The replies of a full session outlive it: they may still be called, and dropping one still
// tells the room (whose owner must cope), without touching the session.
TEST(RconSessionBackPressure, RepliesOutlivingTheSessionAnswerHarmlessly) {
  std::vector<sim::RconReply> held;
  std::shared_ptr<int> rooms;
  {
    HeldReplies harness(2);
    ASSERT_TRUE(harness.session().Receive(EncodePacket(7, kAuth, kPassword) + Commands(1, 2)));
    ASSERT_TRUE(harness.session().full());
    held = std::move(harness.held);
    rooms = harness.rooms_counter();
  }
  held[0](1, kResponseValue, "late");
  held.clear();
  EXPECT_EQ(*rooms, 1);
}

// The flood: one client pipelines kFlood commands in one write while it reads its replies on
// another thread; once the flood is under way a second client sends one command. The game
// thread is the stand-in one, answering each command as it comes.
TEST(RconListenerBackPressure, PipelinedFloodWaitsAtMostTheLimitAndLetsAnotherClientThrough) {
  constexpr std::int32_t kFlood = 300000;
  constexpr std::int32_t kPingAfter = 20000;  // flood replies received before the ping is sent
  constexpr std::int32_t kPingId = -5;

  sim::GameThread game;
  // Flood commands dispatched and not yet answered, as this test's dispatcher counts them: it
  // counts up after the listener does and down before the listener does, so it never exceeds
  // what the listener holds back.
  std::atomic<std::size_t> waiting{0};
  std::atomic<std::size_t> most_waiting{0};
  std::atomic<std::int32_t> flood_answered{0};
  std::atomic<std::int32_t> answered_when_ping_came{-1};
  std::atomic<std::int32_t> answered_when_ping_ran{-1};
  std::atomic<std::size_t> waiting_while_game_stalled{0};
  sim::RconListener listener(
      0, kPassword, [&](const sim::RconRequest& request, sim::RconReply reply) {
        if (request.body == "ping") {
          answered_when_ping_came = flood_answered.load();
          game.Post([&, request, reply] {
            answered_when_ping_ran = flood_answered.load();
            reply(request.id, kResponseValue, "pong");
          });
          return;
        }
        const std::size_t now = ++waiting;
        std::size_t most = most_waiting.load();
        while (now > most && !most_waiting.compare_exchange_weak(most, now)) {
        }
        game.Post([&, request, reply] {
          if (request.id == 0) {
            // The game stalls on the first command until the limit is reached: no more of the
            // flood may be dispatched meanwhile, however long it takes.
            const auto give_up = std::chrono::steady_clock::now() + 10s;
            while (waiting.load() < sim::kMaxWaitingCommands &&
                   std::chrono::steady_clock::now() < give_up) {
              std::this_thread::sleep_for(1ms);
            }
            std::this_thread::sleep_for(200ms);
            waiting_while_game_stalled = waiting.load();
          }
          reply(request.id, kResponseValue, "ok");
          ++flood_answered;
          --waiting;
        });
      });

  Client flood(listener.Port());
  ASSERT_TRUE(flood.Authenticate(kPassword));
  std::string batch;
  batch.reserve(static_cast<std::size_t>(kFlood) * 30);
  for (std::int32_t id = 0; id < kFlood; ++id) {
    batch += EncodePacket(id, kExecCommand, "hordesize.status");
  }
  std::atomic<std::int32_t> flood_received{0};
  bool sent = false;
  std::thread writer([&] { sent = flood.Send(batch, 60s); });

  ReadResult pong;
  std::int32_t received_when_ping_sent = -1;
  std::int32_t received_when_pong_came = -1;
  std::thread other_client([&] {
    Client other(listener.Port());
    if (!other.Authenticate(kPassword)) return;
    const auto give_up = std::chrono::steady_clock::now() + 60s;
    while (flood_received.load() < kPingAfter && std::chrono::steady_clock::now() < give_up) {
      std::this_thread::sleep_for(1ms);
    }
    received_when_ping_sent = flood_received.load();
    if (!other.SendPacket(kPingId, kExecCommand, "ping")) return;
    pong = other.Read(30s);
    received_when_pong_came = flood_received.load();
  });

  const auto start = std::chrono::steady_clock::now();
  std::int32_t in_order = 0;
  for (; in_order < kFlood; ++in_order) {
    const ReadResult reply = flood.Read(30s);
    if (reply.status != ReadStatus::kPacket || reply.packet.id != in_order ||
        reply.packet.body != "ok") {
      ADD_FAILURE() << "reply " << in_order << ": status " << static_cast<int>(reply.status)
                    << ", id " << reply.packet.id << ", body '" << reply.packet.body << "'";
      break;
    }
    flood_received.store(in_order + 1);
  }
  const auto took = std::chrono::steady_clock::now() - start;
  flood.Shutdown();  // ends the write if the replies stopped early
  writer.join();
  other_client.join();

  EXPECT_EQ(in_order, kFlood);
  EXPECT_TRUE(sent);
  EXPECT_EQ(waiting_while_game_stalled.load(), sim::kMaxWaitingCommands);
  EXPECT_EQ(most_waiting.load(), sim::kMaxWaitingCommands);
  // The second client's command was sent during the flood and answered before its backlog: at
  // most the commands the first client had waiting ran between its arrival and its turn.
  ASSERT_EQ(pong.status, ReadStatus::kPacket);
  EXPECT_EQ(pong.packet.id, kPingId);
  EXPECT_EQ(pong.packet.body, "pong");
  EXPECT_GE(received_when_ping_sent, kPingAfter);
  EXPECT_LT(received_when_pong_came, kFlood);
  EXPECT_LE(answered_when_ping_ran - answered_when_ping_came,
            static_cast<std::int32_t>(sim::kMaxWaitingCommands));
  std::cout << "[          ] " << kFlood << " pipelined commands in "
            << std::chrono::duration_cast<std::chrono::milliseconds>(took).count()
            << " ms; most waiting " << most_waiting.load() << "; the ping overtook "
            << kFlood - received_when_pong_came << " flood replies\n";
}

}  // namespace
