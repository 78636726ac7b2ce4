// The simulated host is as strict as the real one: what ends the server (with the host's
// critical line and kServerEndStatus), what HooksDoNotThrow softens, and the game's chat rules.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "sim/game_functions.h"
#include "sim/host_api.h"
#include "support/sim_fixture.h"

namespace {

using Lines = std::vector<std::string>;

class StrictHost : public simtest::SimFixture {
 public:
  sim::APrimalDinoCharacter* Rex() {
    return Game().CreatureObject(
        Game().CreateCreature(Server().Classes().Species("Rex_Character_BP_C")));
  }
  using SimFixture::Game;
  using SimFixture::Run;
  using SimFixture::Server;
  using SimFixture::SetHooksDoNotThrow;
};

void* detour_slot = nullptr;
// A detour for hooks the host refuses: never entered.
void RefusedDetour(sim::APrimalDinoCharacter*) {}
// A detour that calls a game function by its address, as plugin code does, without containing
// what it raises.
void NamingBeginPlay(sim::APrimalDinoCharacter* dino) {
  sim::FString text;
  reinterpret_cast<void (*)(const sim::FName*, sim::FString*)>(
      simhost::GetAddress("FName.ToString(FString&)"))(
      &dino->PrimalCharacter.Character.Pawn.Actor.Object.Base.NamePrivate, &text);
}
void Hook(void (*detour)(sim::APrimalDinoCharacter*)) {
  ASSERT_TRUE(simhost::SetHook("APrimalDinoCharacter.BeginPlay()", reinterpret_cast<void*>(detour),
                               &detour_slot));
}

struct EndCase {
  const char* name;
  std::function<void(StrictHost&)> act;
  std::string message;  // the critical line
};

void PrintTo(const EndCase& c, std::ostream* os) {
  *os << c.name;
}

class EndsTheServer : public StrictHost, public ::testing::WithParamInterface<EndCase> {};

TEST_P(EndsTheServer, WithTheHostsCriticalLine) {
  EXPECT_SERVER_ENDS(GetParam().act(*this), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Strict, EndsTheServer,
    ::testing::Values(
        EndCase{"ForgottenField",
                [](StrictHost& h) {
                  h.Run("host forget ACharacter.Mesh");
                  simhost::GetAddress(h.Rex(), "ACharacter.Mesh");
                },
                "Failed to get the offset of 'ACharacter.Mesh'."},
        // HooksDoNotThrow is about functions: a field still ends the server.
        EndCase{"UnknownFlagUnderHooksDoNotThrow",
                [](StrictHost& h) {
                  h.SetHooksDoNotThrow();
                  simhost::GetBitField(h.Rex(), "AActor.bNoSuchFlag");
                },
                "Failed to get the bitfield address of 'AActor.bNoSuchFlag'."},
        EndCase{"ForgottenFunction",
                [](StrictHost& h) {
                  h.Run("host forget FMemory.Free(void*)");
                  simhost::GetAddress("FMemory.Free(void*)");
                },
                "Failed to get the offset of 'FMemory.Free(void*)'."},
        // The host reads its config.json once, when it starts: an edit made later changes
        // nothing.
        EndCase{"UnknownFunctionUnderHooksDoNotThrowWrittenLater",
                [](StrictHost& h) {
                  h.Run(R"(write ShooterGame/Binaries/Win64/config.json {"settings": )"
                        R"({"HooksDoNotThrow": true}})");
                  simhost::GetAddress("AActor.NoSuchFunction()");
                },
                "Failed to get the offset of 'AActor.NoSuchFunction()'."},
        // A name the SDK shows on no live line is one the game lacks, until a test gives it.
        EndCase{
            "HookOnAMarkedName",
            [](StrictHost&) {
              simhost::SetHook(host::game_names::kOnUncryo.name,
                               reinterpret_cast<void*>(&RefusedDetour), &detour_slot);
            },
            std::string("Failed to get the offset of '") + host::game_names::kOnUncryo.name + "'."},
        EndCase{"HookOnAnUnknownName",
                [](StrictHost&) {
                  simhost::SetHook("APrimalDinoCharacter.NoSuchFunction()",
                                   reinterpret_cast<void*>(&RefusedDetour), &detour_slot);
                },
                "Failed to get the offset of 'APrimalDinoCharacter.NoSuchFunction()'."},
        EndCase{"PlayerMessageWithoutAWorld",
                [](StrictHost& h) {
                  h.Run("player Ada");
                  h.Run("world down");
                  simhost::SendServerMessage(h.Game().PlayerById(1).controller, 1, 1, 1, 1, u"hi");
                },
                "A player message was sent while no world is up"},
        EndCase{"RidingDinoOfACreature",
                [](StrictHost& h) {
                  using RidingDino = sim::APrimalDinoCharacter* (*)(sim::AShooterCharacter*);
                  reinterpret_cast<RidingDino>(
                      simhost::GetAddress("AShooterCharacter.GetRidingDino()"))(
                      reinterpret_cast<sim::AShooterCharacter*>(h.Rex()));
                },
                "AShooterCharacter.GetRidingDino() was called on Rex_Character_BP_C, which is no "
                "player character"},
        EndCase{"FailingGameFunctionCalledFromADetour",
                [](StrictHost& h) {
                  Hook(&NamingBeginPlay);
                  h.Run("host fail FName.ToString(FString&)");
                  h.Run("spawn Rex_Character_BP_C");
                },
                "Unhandled exception from APrimalDinoCharacter.BeginPlay(): "
                "FName.ToString(FString&) failed"},
        EndCase{"ExceptionFromAConsoleCommand",
                [](StrictHost& h) {
                  simhost::AddConsoleCommand(
                      u"boom", [](void*, void*, bool) { throw std::runtime_error("no"); });
                  h.Run("console - boom now");
                },
                "Unhandled exception from console command boom: no"},
        EndCase{"ExceptionFromAChatCommand",
                [](StrictHost& h) {
                  simhost::AddChatCommand(
                      u"/boom", [](void*, void*, int, int) { throw std::logic_error("no"); });
                  h.Run("player Ada");
                  h.Run("chat 1 /boom");
                },
                "Unhandled exception from chat command /boom: no"},
        EndCase{"ExceptionFromAnRconCommand",
                [](StrictHost& h) {
                  simhost::AddRconCommand(u"boom", [](void*, void*, void*) { throw 7; });
                  h.Run("rcon boom");
                },
                "Unhandled exception from RCON command boom: an exception that is no "
                "std::exception"},
        EndCase{"ExceptionFromATimer",
                [](StrictHost& h) {
                  simhost::DelayExecute([] { throw std::runtime_error("late"); }, 2, u"Boom_1");
                  h.Run("wait 2");
                },
                "Unhandled exception from timer Boom_1: late"},
        EndCase{"ExceptionFromPluginInit",
                [](StrictHost& h) {
                  sim::PluginHost host(h.Server(), THROWING_PLUGIN_FILE);
                  host.Load();
                },
                "Unhandled exception from Plugin_Init: Plugin_Init went wrong"}),
    [](const auto& info) { return std::string(info.param.name); });

// Under HooksDoNotThrow an unknown function is logged in the host's words and answered with null,
// a hook on it with false; the server goes on.
TEST_F(StrictHost, HooksDoNotThrowGivesNullAndFalseWithTheHostsLines) {
  SetHooksDoNotThrow();
  Run("host forget APrimalDinoCharacter.BeginPlay()");
  Server().Logs().TakeLines();
  EXPECT_EQ(simhost::GetAddress("AActor.NoSuchFunction()"), nullptr);
  detour_slot = nullptr;
  EXPECT_FALSE(simhost::SetHook("APrimalDinoCharacter.BeginPlay()",
                                reinterpret_cast<void*>(&RefusedDetour), &detour_slot));
  EXPECT_EQ(detour_slot, nullptr);
  EXPECT_FALSE(simhost::DisableHook("APrimalDinoCharacter.BeginPlay()",
                                    reinterpret_cast<void*>(&RefusedDetour)));
  Lines messages;
  for (const auto& line : Server().Logs().TakeLines()) {
    const char* const level = line.level == spdlog::level::critical ? "critical" : "error";
    EXPECT_NE(line.formatted.find(std::string("[API][") + level + "] "), std::string::npos)
        << line.formatted;
    messages.push_back(std::string(level) + " " + line.message);
  }
  const std::string no_offset = "critical Failed to get the offset of ";
  EXPECT_EQ(messages, (Lines{no_offset + "'AActor.NoSuchFunction()'.",
                             no_offset + "'APrimalDinoCharacter.BeginPlay()'.",
                             "error APrimalDinoCharacter.BeginPlay() does not exist",
                             no_offset + "'APrimalDinoCharacter.BeginPlay()'.",
                             "error APrimalDinoCharacter.BeginPlay() does not exist"}));
  // The game still has the function: its flows run as before.
  EXPECT_EQ(Run("spawn Rex_Character_BP_C"), Lines{"ok creature 1"});
}

// The spam gate measures from the last accepted line of the same player, in game time.
TEST_F(StrictHost, AChatLineWithinASecondOfThePlayersLastAcceptedOneIsDropped) {
  int heard = 0;
  simhost::AddChatCommand(u"/hi", [&](void*, void*, int, int) { ++heard; });
  Run("player Ada");  // 1
  Run("player Ben");  // 2
  struct Step {
    const char* line;
    int heard;  // lines that reached the command so far
  };
  for (const Step& step :
       {Step{"chat 1 /hi", 1}, Step{"chat 2 /hi", 2}, Step{"wait 0.5", 2},
        Step{"chat 1 /hi", 2},                          // 0.5 s after: dropped
        Step{"wait 0.4375", 2}, Step{"chat 1 /hi", 2},  // 0.9375 s: dropped
        Step{"wait 0.0625", 2}, Step{"chat 1 /hi", 3},  // 1 s after the first
        Step{"chat 2 /hi", 4}, Step{"chat 1 other words", 4},
        // A line that reaches no command is still accepted, and counts.
        Step{"wait 1", 4}, Step{"chat 1 other words", 4}, Step{"chat 1 /hi", 4}}) {
    EXPECT_EQ(Run(step.line).back(), "ok") << step.line;
    EXPECT_EQ(heard, step.heard) << step.line;
  }
}

// A world load tears every creature down through the game's Destroy, which calls Destroyed, before
// it builds the saved ones, so that a plugin's detours see the teardown.
TEST_F(StrictHost, LoadDestroysEachCreatureThroughItsHooksBeforeRebuilding) {
  Run("spawn Rex_Character_BP_C");  // 1
  Run("spawn Rex_Character_BP_C");  // 2
  Run("save");                      // records 3 and 4
  Game().ClearCalls();
  EXPECT_EQ(Run("load"), Lines{"ok"});
  std::vector<std::pair<sim::Hook, int>> calls;
  for (const auto& call : Game().Calls())
    if (call.hook != sim::Hook::Serialize) calls.emplace_back(call.hook, call.creature);
  using sim::Hook;
  EXPECT_EQ(calls, (std::vector<std::pair<Hook, int>>{{Hook::Destroy, 1},
                                                      {Hook::Destroyed, 1},
                                                      {Hook::Destroy, 2},
                                                      {Hook::Destroyed, 2},
                                                      {Hook::BeginPlay, 5},
                                                      {Hook::BeginPlay, 6}}));
  EXPECT_FALSE(Game().IsCreatureId(1));
  EXPECT_FALSE(Game().IsCreatureId(2));
}

}  // namespace
