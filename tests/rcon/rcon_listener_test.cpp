// The listener's authentication, command dispatch, replies, clients and lifetime, seen from a
// real TCP client on 127.0.0.1.
#include "sim/rcon_listener.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "rcon_test_client.h"
#include "rcon_test_support.h"

namespace {

using namespace std::chrono_literals;
using rcontest::Client;
using rcontest::GameThread;
using rcontest::ReadResult;
using rcontest::ReadStatus;
using rcontest::Recorder;

constexpr char kPassword[] = "s3cret";

// Replies "<body> done\n" to each command from the game thread.
Recorder::Then ReplyDoneOn(GameThread& game) {
  return [&game](const sim::RconRequest& request, const sim::RconReply& reply) {
    game.Post([request, reply] {
      reply(request.id, rcontest::kResponseValue, request.body + " done\n");
    });
  };
}

void ExpectRefusal(Client& client) {
  const ReadResult refusal = client.Read();
  ASSERT_EQ(refusal.status, ReadStatus::kPacket);
  EXPECT_EQ(refusal.packet.id, -1);
  EXPECT_EQ(refusal.packet.type, rcontest::kAuthResponse);
  EXPECT_TRUE(refusal.packet.body.empty());
}

TEST(RconListenerSetup, PortZeroPicksAFreePortAndABusyPortThrows) {
  Recorder recorder;
  sim::RconListener first(0, kPassword, recorder.Dispatch());
  ASSERT_NE(first.Port(), 0);
  EXPECT_THROW(sim::RconListener(first.Port(), kPassword, recorder.Dispatch()), std::runtime_error);
  // The first listener is unaffected by the failed second one.
  Client client(first.Port());
  EXPECT_TRUE(client.Authenticate(kPassword));
}

// Clients that take each socket read as one packet need the auth response alone: no empty
// response value before it, as some servers send.
TEST(RconListenerAuth, RightPasswordGetsOnlyTheAuthResponseUnderRequestId) {
  Recorder recorder;
  sim::RconListener listener(0, kPassword, recorder.Dispatch());
  Client client(listener.Port());
  ASSERT_TRUE(client.SendPacket(4711, rcontest::kAuth, kPassword));
  const ReadResult granted = client.Read();
  ASSERT_EQ(granted.status, ReadStatus::kPacket);
  EXPECT_EQ(granted.packet.id, 4711);
  EXPECT_EQ(granted.packet.type, rcontest::kAuthResponse);
  EXPECT_TRUE(granted.packet.body.empty());
  EXPECT_TRUE(client.StaysQuiet(100ms));
  EXPECT_EQ(recorder.Count(), 0u);
}

TEST(RconListenerAuth, WrongPasswordIsRefusedAndNothingRunsUntilTheRightOne) {
  Recorder recorder;
  sim::RconListener listener(0, kPassword, recorder.Dispatch());
  Client client(listener.Port());
  ASSERT_TRUE(client.SendPacket(5, rcontest::kAuth, "guess"));
  ExpectRefusal(client);
  ASSERT_TRUE(client.SendPacket(6, rcontest::kExecCommand, "hordesize.resizeall"));
  ExpectRefusal(client);
  EXPECT_EQ(recorder.Count(), 0u);
  // The connection stays open and unauthenticated: the right password still works on it.
  ASSERT_TRUE(client.Authenticate(kPassword, 7));
  ASSERT_TRUE(client.SendPacket(8, rcontest::kExecCommand, "status"));
  ASSERT_TRUE(recorder.WaitForCount(1, 5s));
  EXPECT_EQ(recorder.Requests().at(0).id, 8);
}

TEST(RconListenerAuth, NearMissPasswordsAreRefused) {
  Recorder recorder;
  sim::RconListener listener(0, kPassword, recorder.Dispatch());
  const std::string password = kPassword;
  const std::vector<std::string> near_misses = {
      "",
      password.substr(0, password.size() - 1),
      password + "x",
      "S3CRET",
      password + std::string(1, '\0'),        // equal as C strings
      password + std::string(1, '\0') + "x",  // equal up to an embedded NUL
  };
  Client client(listener.Port());
  for (const std::string& guess : near_misses) {
    ASSERT_TRUE(client.SendPacket(1, rcontest::kAuth, guess));
    ExpectRefusal(client);
  }
  ASSERT_TRUE(client.SendPacket(2, rcontest::kExecCommand, "status"));
  ExpectRefusal(client);
  EXPECT_EQ(recorder.Count(), 0u);
}

TEST(RconListenerAuth, CommandBeforeAuthIsRefusedAndNotDispatched) {
  Recorder recorder;
  sim::RconListener listener(0, kPassword, recorder.Dispatch());
  Client client(listener.Port());
  for (int id = 1; id <= 3; ++id) {
    ASSERT_TRUE(client.SendPacket(id, rcontest::kExecCommand, "bigfit.reload"));
    ExpectRefusal(client);
  }
  EXPECT_EQ(recorder.Count(), 0u);
}

TEST(RconListenerAuth, EmptyListenerPasswordRefusesEveryAuth) {
  Recorder recorder;
  sim::RconListener listener(0, "", recorder.Dispatch());
  Client client(listener.Port());
  ASSERT_TRUE(client.SendPacket(1, rcontest::kAuth, ""));
  ExpectRefusal(client);
  ASSERT_TRUE(client.SendPacket(2, rcontest::kExecCommand, "status"));
  ExpectRefusal(client);
  EXPECT_EQ(recorder.Count(), 0u);
}

TEST(RconListenerAuth, WrongPasswordEndsAnEarlierAuthentication) {
  Recorder recorder;
  sim::RconListener listener(0, kPassword, recorder.Dispatch());
  Client client(listener.Port());
  ASSERT_TRUE(client.Authenticate(kPassword));
  ASSERT_TRUE(client.SendPacket(2, rcontest::kAuth, "wrong"));
  ExpectRefusal(client);
  ASSERT_TRUE(client.SendPacket(3, rcontest::kExecCommand, "status"));
  ExpectRefusal(client);
  EXPECT_EQ(recorder.Count(), 0u);
}

TEST(RconListenerCommands, RequestCarriesIdBodyAndConnectionNumber) {
  Recorder recorder;
  sim::RconListener listener(0, kPassword, recorder.Dispatch());
  Client first(listener.Port());
  Client second(listener.Port());
  ASSERT_TRUE(first.Authenticate(kPassword));
  ASSERT_TRUE(second.Authenticate(kPassword));
  ASSERT_TRUE(first.SendPacket(INT32_MAX, rcontest::kExecCommand, "hordesize.setscale 25"));
  ASSERT_TRUE(recorder.WaitForCount(1, 5s));
  ASSERT_TRUE(second.SendPacket(-7, rcontest::kExecCommand, "  spaced  out  "));
  ASSERT_TRUE(recorder.WaitForCount(2, 5s));
  ASSERT_TRUE(first.SendPacket(0, rcontest::kExecCommand, ""));
  ASSERT_TRUE(recorder.WaitForCount(3, 5s));

  const std::vector<sim::RconRequest> requests = recorder.Requests();
  EXPECT_EQ(requests[0].id, INT32_MAX);
  EXPECT_EQ(requests[0].body, "hordesize.setscale 25");
  EXPECT_EQ(requests[1].id, -7);
  EXPECT_EQ(requests[1].body, "  spaced  out  ");
  EXPECT_EQ(requests[2].id, 0);
  EXPECT_EQ(requests[2].body, "");
  EXPECT_EQ(requests[0].client, requests[2].client);
  EXPECT_NE(requests[0].client, requests[1].client);
}

TEST(RconListenerCommands, RepliesComeUnderTheRequestIdInTheOrderMade) {
  GameThread game;
  Recorder recorder([&game](const sim::RconRequest& request, const sim::RconReply& reply) {
    game.Post([request, reply] {
      for (int part = 0; part < 3; ++part) {
        reply(request.id, rcontest::kResponseValue, request.body + " part " + std::to_string(part));
      }
    });
  });
  sim::RconListener listener(0, kPassword, recorder.Dispatch());
  Client client(listener.Port());
  ASSERT_TRUE(client.Authenticate(kPassword));
  const std::vector<std::int32_t> ids = {100, 7, 100, -3};
  std::string batch;
  for (std::size_t i = 0; i < ids.size(); ++i) {
    batch += rcontest::EncodePacket(ids[i], rcontest::kExecCommand, "cmd" + std::to_string(i));
  }
  ASSERT_TRUE(client.Send(batch));
  for (std::size_t i = 0; i < ids.size(); ++i) {
    for (int part = 0; part < 3; ++part) {
      const ReadResult reply = client.Read();
      ASSERT_EQ(reply.status, ReadStatus::kPacket);
      EXPECT_EQ(reply.packet.id, ids[i]);
      EXPECT_EQ(reply.packet.type, rcontest::kResponseValue);
      EXPECT_EQ(reply.packet.body, "cmd" + std::to_string(i) + " part " + std::to_string(part));
    }
  }
  EXPECT_TRUE(client.StaysQuiet(100ms));
}

TEST(RconListenerCommands, ReplyTypeAndIdAreTheCallersChoice) {
  Recorder recorder([](const sim::RconRequest& request, const sim::RconReply& reply) {
    reply(request.id + 1, 2, "typed");  // replying from the network thread itself
    reply(request.id, 0, "");
  });
  sim::RconListener listener(0, kPassword, recorder.Dispatch());
  Client client(listener.Port());
  ASSERT_TRUE(client.Authenticate(kPassword));
  ASSERT_TRUE(client.SendPacket(41, rcontest::kExecCommand, "x"));
  const ReadResult typed = client.Read();
  ASSERT_EQ(typed.status, ReadStatus::kPacket);
  EXPECT_EQ(typed.packet.id, 42);
  EXPECT_EQ(typed.packet.type, 2);
  EXPECT_EQ(typed.packet.body, "typed");
  const ReadResult empty = client.Read();
  ASSERT_EQ(empty.status, ReadStatus::kPacket);
  EXPECT_EQ(empty.packet.id, 41);
  EXPECT_EQ(empty.packet.type, 0);
  EXPECT_EQ(empty.packet.body, "");
}

TEST(RconListenerCommands, LongReplyIsSplitIntoPacketsWithinTheLimit) {
  std::string long_body;
  for (int i = 0; long_body.size() < 3 * 4086 + 17; ++i) long_body += std::to_string(i) + ",";
  long_body.resize(3 * 4086 + 17);
  Recorder recorder([&long_body](const sim::RconRequest& request, const sim::RconReply& reply) {
    reply(request.id, 0, request.body == "long" ? long_body : std::string(4086, 'm'));
  });
  sim::RconListener listener(0, kPassword, recorder.Dispatch());
  Client client(listener.Port());
  ASSERT_TRUE(client.Authenticate(kPassword));

  ASSERT_TRUE(client.SendPacket(9, rcontest::kExecCommand, "exact"));
  const ReadResult exact = client.Read();  // the test client rejects any packet over 4096
  ASSERT_EQ(exact.status, ReadStatus::kPacket);
  EXPECT_EQ(exact.packet.body, std::string(4086, 'm'));

  ASSERT_TRUE(client.SendPacket(10, rcontest::kExecCommand, "long"));
  std::string joined;
  for (int packet = 0; packet < 4; ++packet) {
    const ReadResult part = client.Read();
    ASSERT_EQ(part.status, ReadStatus::kPacket);
    EXPECT_EQ(part.packet.id, 10);
    EXPECT_EQ(part.packet.body.size(), packet < 3 ? 4086u : 17u);
    joined += part.packet.body;
  }
  EXPECT_EQ(joined, long_body);
  EXPECT_TRUE(client.StaysQuiet(100ms));
}

TEST(RconListenerCommands, RepliesFromManyThreadsArriveWholeAndInEachThreadsOrder) {
  constexpr int kThreads = 4;
  constexpr int kRepliesPerThread = 200;
  Recorder recorder;
  sim::RconListener listener(0, kPassword, recorder.Dispatch());
  Client client(listener.Port());
  ASSERT_TRUE(client.Authenticate(kPassword));
  ASSERT_TRUE(client.SendPacket(77, rcontest::kExecCommand, "fan out"));
  ASSERT_TRUE(recorder.WaitForCount(1, 5s));
  const sim::RconReply reply = recorder.ReplyAt(0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &reply] {
      for (int i = 0; i < kRepliesPerThread; ++i) {
        // Bodies of varied length so that torn packets would show.
        reply(77, 0, std::to_string(t) + ":" + std::to_string(i) + ":" + std::string(i % 97, 'x'));
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  std::vector<int> next(kThreads, 0);
  for (int n = 0; n < kThreads * kRepliesPerThread; ++n) {
    const ReadResult got = client.Read();
    ASSERT_EQ(got.status, ReadStatus::kPacket) << "after " << n << " packets";
    ASSERT_EQ(got.packet.id, 77);
    const std::string& body = got.packet.body;
    const std::size_t colon = body.find(':');
    const std::size_t second = body.find(':', colon + 1);
    ASSERT_NE(second, std::string::npos) << body;
    const int t = std::stoi(body.substr(0, colon));
    const int i = std::stoi(body.substr(colon + 1, second - colon - 1));
    ASSERT_GE(t, 0);
    ASSERT_LT(t, kThreads);
    EXPECT_EQ(i, next[t]) << "thread " << t << " out of order";
    next[t] = i + 1;
    EXPECT_EQ(body.substr(second + 1), std::string(i % 97, 'x'));
  }
  EXPECT_TRUE(client.StaysQuiet(100ms));
}

TEST(RconListenerCommands, UnknownPacketTypesAreIgnored) {
  Recorder recorder([](const sim::RconRequest& request, const sim::RconReply& reply) {
    reply(request.id, 0, "ran " + request.body);
  });
  sim::RconListener listener(0, kPassword, recorder.Dispatch());
  Client client(listener.Port());
  ASSERT_TRUE(client.Authenticate(kPassword));
  std::string batch = rcontest::EncodePacket(1, rcontest::kResponseValue, "not a command");
  batch += rcontest::EncodePacket(2, 99, "nor this");
  batch += rcontest::EncodePacket(3, -2, "nor this");
  batch += rcontest::EncodePacket(4, rcontest::kExecCommand, "this");
  ASSERT_TRUE(client.Send(batch));
  const ReadResult reply = client.Read();
  ASSERT_EQ(reply.status, ReadStatus::kPacket);
  EXPECT_EQ(reply.packet.id, 4);
  EXPECT_EQ(reply.packet.body, "ran this");
  ASSERT_EQ(recorder.Count(), 1u);
  EXPECT_EQ(recorder.Requests().at(0).id, 4);
}

TEST(RconListenerCommands, ThrowingDispatcherDoesNotStopTheListener) {
  Recorder recorder([](const sim::RconRequest& request, const sim::RconReply& reply) {
    if (request.body == "throw") throw std::runtime_error("dispatcher failure");
    reply(request.id, 0, "fine");
  });
  sim::RconListener listener(0, kPassword, recorder.Dispatch());
  Client client(listener.Port());
  ASSERT_TRUE(client.Authenticate(kPassword));
  ASSERT_TRUE(client.SendPacket(1, rcontest::kExecCommand, "throw"));
  ASSERT_TRUE(client.SendPacket(2, rcontest::kExecCommand, "ok"));
  const ReadResult reply = client.Read();
  ASSERT_EQ(reply.status, ReadStatus::kPacket);
  EXPECT_EQ(reply.packet.id, 2);
  EXPECT_EQ(reply.packet.body, "fine");
  Client other(listener.Port());
  EXPECT_TRUE(other.Authenticate(kPassword));
}

TEST(RconListenerClients, ConcurrentClientsAreServedIndependently) {
  constexpr int kClients = 6;
  constexpr int kCommands = 30;
  GameThread game;
  // Each client pipelines more commands than may wait at a time.
  static_assert(kCommands > sim::kMaxWaitingCommands);
  Recorder recorder(ReplyDoneOn(game), Recorder::Replies::kDropped);
  sim::RconListener listener(0, kPassword, recorder.Dispatch());
  std::vector<std::string> failures(kClients);
  std::vector<std::thread> threads;
  for (int c = 0; c < kClients; ++c) {
    threads.emplace_back([c, &listener, &failures] {
      try {
        Client client(listener.Port());
        if (!client.Authenticate(kPassword, 1000 + c)) throw std::runtime_error("auth failed");
        std::string batch;
        for (int i = 0; i < kCommands; ++i) {
          batch += rcontest::EncodePacket(
              i, rcontest::kExecCommand, "client" + std::to_string(c) + " cmd" + std::to_string(i));
        }
        // Odd clients trickle their bytes in small pieces, even ones send everything at once.
        if (c % 2 == 0) {
          if (!client.Send(batch)) throw std::runtime_error("send failed");
        } else {
          for (std::size_t at = 0; at < batch.size(); at += 7) {
            if (!client.Send(std::string_view(batch).substr(at, 7)))
              throw std::runtime_error("send failed");
          }
        }
        for (int i = 0; i < kCommands; ++i) {
          const ReadResult reply = client.Read();
          const std::string want =
              "client" + std::to_string(c) + " cmd" + std::to_string(i) + " done\n";
          if (reply.status != ReadStatus::kPacket || reply.packet.id != i ||
              reply.packet.body != want) {
            throw std::runtime_error("reply " + std::to_string(i) + " wrong: '" +
                                     reply.packet.body + "'");
          }
        }
      } catch (const std::exception& error) {
        failures[c] = error.what();
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int c = 0; c < kClients; ++c) EXPECT_EQ(failures[c], "") << "client " << c;

  std::map<std::string, std::set<std::uint64_t>> numbers_by_client;
  for (const sim::RconRequest& request : recorder.Requests()) {
    numbers_by_client[request.body.substr(0, request.body.find(' '))].insert(request.client);
  }
  ASSERT_EQ(numbers_by_client.size(), static_cast<std::size_t>(kClients));
  std::set<std::uint64_t> all;
  for (const auto& entry : numbers_by_client) {
    EXPECT_EQ(entry.second.size(), 1u) << entry.first;
    all.insert(entry.second.begin(), entry.second.end());
  }
  EXPECT_EQ(all.size(), static_cast<std::size_t>(kClients));
}

TEST(RconListenerClients, ReplyAfterTheClientHasGoneIsHarmless) {
  Recorder recorder;
  sim::RconListener listener(0, kPassword, recorder.Dispatch());
  auto gone = std::make_unique<Client>(listener.Port());
  ASSERT_TRUE(gone->Authenticate(kPassword));
  ASSERT_TRUE(gone->SendPacket(31, rcontest::kExecCommand, "slow"));
  ASSERT_TRUE(recorder.WaitForCount(1, 5s));
  const sim::RconReply stale = recorder.ReplyAt(0);
  gone.reset();
  stale(31, 0, "racing the close");
  std::this_thread::sleep_for(200ms);  // let the listener see the close
  for (int i = 0; i < 50; ++i) stale(31, 0, std::string(5000, 'z'));

  // A later client gets its own replies and none of the stale ones.
  Client next(listener.Port());
  ASSERT_TRUE(next.Authenticate(kPassword, 31));
  ASSERT_TRUE(next.SendPacket(31, rcontest::kExecCommand, "fresh"));
  ASSERT_TRUE(recorder.WaitForCount(2, 5s));
  stale(31, 0, "stale");
  recorder.ReplyAt(1)(31, 0, "fresh reply");
  const ReadResult reply = next.Read();
  ASSERT_EQ(reply.status, ReadStatus::kPacket);
  EXPECT_EQ(reply.packet.body, "fresh reply");
  EXPECT_TRUE(next.StaysQuiet(100ms));
}

// Whether the flood of replies is made on the game thread (the network thread flushes between
// replies) or inside the dispatcher on the network thread (all replies pile up before any flush).
class SluggishClientTest : public ::testing::TestWithParam<bool> {};

TEST_P(SluggishClientTest, ClientThatDoesNotReadIsClosedAndOthersGoOn) {
  constexpr int kReplies = 16000;
  constexpr std::size_t kReplyBytes = 4000;  // 64 MB in all, far past what sockets buffer
  const bool from_game_thread = GetParam();
  GameThread game;
  Recorder recorder(
      [&game, from_game_thread](const sim::RconRequest& request, const sim::RconReply& reply) {
        if (request.body != "flood") {
          reply(request.id, 0, "pong");
          return;
        }
        const auto flood = [request, reply] {
          const std::string body(kReplyBytes, 'f');
          for (int i = 0; i < kReplies; ++i) reply(request.id, 0, body);
        };
        if (from_game_thread) {
          game.Post(flood);
        } else {
          flood();
        }
      });
  sim::RconListener listener(0, kPassword, recorder.Dispatch());
  Client sluggish(listener.Port(), 4096);
  ASSERT_TRUE(sluggish.Authenticate(kPassword));
  ASSERT_TRUE(sluggish.SendPacket(1, rcontest::kExecCommand, "flood"));
  ASSERT_TRUE(recorder.WaitForCount(1, 5s));
  std::this_thread::sleep_for(300ms);  // not reading while the replies pile up

  Client other(listener.Port());
  ASSERT_TRUE(other.Authenticate(kPassword));
  ASSERT_TRUE(other.SendPacket(2, rcontest::kExecCommand, "ping"));
  const ReadResult pong = other.Read();
  ASSERT_EQ(pong.status, ReadStatus::kPacket);
  EXPECT_EQ(pong.packet.body, "pong");

  EXPECT_TRUE(sluggish.WaitClosed(20s));
  EXPECT_LT(sluggish.received_bytes(), kReplies * (kReplyBytes + 14));
}

INSTANTIATE_TEST_SUITE_P(Flood, SluggishClientTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "FromGameThread" : "FromNetworkThread";
                         });

TEST(RconListenerLifetime, DestructorWithConnectedClientsReturnsPromptly) {
  Recorder recorder([](const sim::RconRequest& request, const sim::RconReply& reply) {
    if (request.body == "big") reply(request.id, 0, std::string(200000, 'b'));
    // Any other command is left unanswered.
  });
  auto listener = std::make_unique<sim::RconListener>(0, kPassword, recorder.Dispatch());
  Client idle(listener->Port());
  Client waiting(listener->Port());
  ASSERT_TRUE(waiting.Authenticate(kPassword));
  ASSERT_TRUE(waiting.SendPacket(1, rcontest::kExecCommand, "never answered"));
  Client partial(listener->Port());
  ASSERT_TRUE(partial.Send(rcontest::EncodePacket(1, rcontest::kAuth, kPassword).substr(0, 6)));
  Client unread(listener->Port(), 4096);
  ASSERT_TRUE(unread.Authenticate(kPassword));
  ASSERT_TRUE(unread.SendPacket(2, rcontest::kExecCommand, "big"));
  ASSERT_TRUE(recorder.WaitForCount(2, 5s));

  const auto start = std::chrono::steady_clock::now();
  listener.reset();
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_LT(took, 2s);

  EXPECT_TRUE(idle.WaitClosed(2s));
  EXPECT_TRUE(waiting.WaitClosed(2s));
  EXPECT_TRUE(partial.WaitClosed(2s));
  EXPECT_TRUE(unread.WaitClosed(2s));
  // The replies handed out outlive the listener and do nothing.
  recorder.ReplyAt(0)(1, 0, "too late");
  recorder.ReplyAt(1)(2, 0, "too late");
}

TEST(RconListenerLifetime, RepliesRacingTheDestructorAreHarmless) {
  Recorder recorder;
  auto listener = std::make_unique<sim::RconListener>(0, kPassword, recorder.Dispatch());
  Client client(listener->Port());
  ASSERT_TRUE(client.Authenticate(kPassword));
  ASSERT_TRUE(client.SendPacket(5, rcontest::kExecCommand, "stream"));
  ASSERT_TRUE(recorder.WaitForCount(1, 5s));
  const sim::RconReply reply = recorder.ReplyAt(0);
  std::atomic<bool> stop{false};
  std::atomic<int> made{0};
  std::vector<std::thread> games;
  for (int t = 0; t < 2; ++t) {
    games.emplace_back([&] {
      const auto give_up = std::chrono::steady_clock::now() + 5s;
      while (!stop.load() && std::chrono::steady_clock::now() < give_up) {
        reply(5, 0, "tick");
        made.fetch_add(1);
      }
    });
  }
  const auto wait_until = std::chrono::steady_clock::now() + 5s;
  while (made.load() < 1000 && std::chrono::steady_clock::now() < wait_until) {
    std::this_thread::sleep_for(1ms);
  }
  listener.reset();
  std::this_thread::sleep_for(20ms);  // replies go on after the listener is gone
  stop.store(true);
  for (std::thread& game : games) game.join();
  EXPECT_TRUE(client.WaitClosed(5s));
  EXPECT_GT(client.received_bytes(), 0u);
}

}  // namespace
