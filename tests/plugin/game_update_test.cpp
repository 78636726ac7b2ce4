// A game update never stops the server because of the plugin: it reads the host's offsets cache
// before its first look-up and asks for no name the game lacks. One server run per name on the
// list: a game lacking that name leaves the server running at load and turns off only the
// features its entry names, with one line naming it: Tinyhorde itself where restoring needs it
// (it then touches no creature), shrinking where a path to storage needs it, otherwise one
// trigger, camera scaling, a sign of the tamed test, the chat's admin commands, RCON replies or
// player replies. Whatever still runs is tried on a tamed target, nothing is ever stored small,
// and a later load with the name back works as before. A
// cache that cannot be read leaves the plugin as it was, with a line that says why; one that
// lies (claims a name the game lacks) still stops the server, as on a real host.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/game_names_check.h"
#include "hooks/detour_table.h"
#include "host/game.h"
#include "host/services.h"
#include "support/sim_fixture.h"

namespace {

using Lines = std::vector<std::string>;
namespace names = host::game_names;

std::string TestNameOf(const std::string& text) {
  std::string name;
  for (char ch : text)
    if (std::isalnum(static_cast<unsigned char>(ch))) name += ch;
  return name;
}

bool Has(const Lines& lines, const std::string& wanted) {
  return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

bool HasStarting(const Lines& lines, const std::string& prefix) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
}

std::string OffReplyFor(const std::string& name) {
  return "[Tinyhorde] Off: the game lacks " + name + ".";
}

std::string OffLineFor(const std::string& name) {
  return "[Tinyhorde] Off: the game lacks " + name +
         ". No creature is resized or restored; the server runs on. A Tinyhorde for this game "
         "version is needed.";
}

bool IsOneOf(const host::GameName* name, std::initializer_list<const host::GameName*> set) {
  return std::find(set.begin(), set.end(), name) != set.end();
}

using Offsets = std::vector<std::pair<std::string, sim::FVector>>;

struct LackCase {
  const host::GameName* name;
  bool hooks_do_not_throw;
};

void PrintTo(const LackCase& c, std::ostream* os) {
  *os << c.name->name << (c.hooks_do_not_throw ? " (HooksDoNotThrow)" : "");
}

std::vector<LackCase> EveryNameOnTheList() {
  std::vector<LackCase> cases;
  for (const host::GameName* name : host::kGameNames)
    if (name->unverified_because == nullptr) cases.push_back({name, false});
  // Under HooksDoNotThrow a field or flag the game lacks stops the server all the same, and a hook
  // is refused rather than stopping it: the plugin must not ask either way.
  cases.push_back({&names::kBaseDinoScale, true});
  cases.push_back({&names::kIsDead, true});
  cases.push_back({&names::kSerialize, true});
  return cases;
}

// What a game lacking the row's name still does, from the features its entry names.
struct StillOn {
  bool off, shrinking, camera, begin_play, tame, team_change, wake, ride, chat_admin, chat_words,
      rcon, player_replies;
};

StillOn StillOnWithout(const host::GameName& name) {
  const auto on = [&name](host::Features features) { return (name.features & features) == 0; };
  namespace f = host::feature;
  const bool off = !on(f::kRestoring);
  const bool shrinking = !off && on(f::kShrinking);
  return {off,
          shrinking,
          shrinking && on(f::kCamera),
          shrinking && on(f::kBeginPlayTrigger),
          shrinking && on(f::kTameTrigger),
          shrinking && on(f::kTeamChangeTrigger),
          shrinking && on(f::kWakeTrigger),
          shrinking && on(f::kRideTrigger),
          on(f::kChatAdminCommands),
          on(f::kChatSubcommands),
          on(f::kRconReplies),
          on(f::kPlayerReplies)};
}

class GameLacking : public simtest::SimFixture, public ::testing::WithParamInterface<LackCase> {
 protected:
  bool HooksDoNotThrowAtStart() const override { return GetParam().hooks_do_not_throw; }
  double Scale(int creature) { return Game().RootScale(Game().CreatureObject(creature)).X; }
  int Created(const std::string& line) {
    const std::string last = Run(line).back();
    const auto space = last.rfind(' ');
    return std::stoi(last.substr(space + 1));
  }
  // Every record the game stored so far is of a creature at full size, camera included.
  void ExpectNothingStoredSmall(const Offsets& camera) {
    for (const sim::StoredRecord& r : Game().Stored()) {
      EXPECT_EQ(r.root_scale.X, 1.0) << r.kind << " " << r.id;
      EXPECT_EQ(r.base_dino_scale.X, 1.0) << r.kind << " " << r.id;
      EXPECT_EQ(r.mesh_scale.X, 1.0) << r.kind << " " << r.id;
      ASSERT_EQ(r.camera.size(), camera.size()) << r.kind << " " << r.id;
      for (std::size_t i = 0; i < camera.size(); ++i)
        EXPECT_EQ(r.camera[i].second.X, camera[i].second.X) << r.kind << " " << camera[i].first;
    }
  }
  // The reply a player hears: a message to that player, or, where the game lacks what the
  // host's messaging needs, a line of the log.
  bool Heard(const Lines& output, const Lines& log, int player, const std::string& text,
             bool to_player) {
    if (!to_player)
      return std::any_of(log.begin(), log.end(), [&](const std::string& line) {
        return line.find(text) != std::string::npos;
      });
    const std::string prefix = "msg " + std::to_string(player) + " ";
    return std::any_of(output.begin(), output.end(), [&](const std::string& line) {
      return line.rfind(prefix, 0) == 0 && line.find(text) != std::string::npos;
    });
  }

  void ExpectOff(const std::string& name, const Lines& start);
  void ExpectTheRestRuns(const std::string& name, const Lines& start, float arm,
                         const Offsets& camera);
};

void GameLacking::ExpectOff(const std::string& name, const Lines& start) {
  // What still answers while off: the commands need the game's allocator for their names, RCON
  // replies its reply function.
  const host::GameName* lacking = GetParam().name;
  const bool commands = !IsOneOf(lacking, {&names::kMalloc, &names::kRealloc, &names::kFree});
  const bool rcon_replies = commands && lacking != &names::kRconSendMessage;
  EXPECT_TRUE(Has(start, OffLineFor(name))) << ::testing::PrintToString(start);
  EXPECT_FALSE(Has(start, "[Tinyhorde] Plugin initialized successfully."));
  EXPECT_EQ(Server().Hooks().InstalledCount(), 0u);
  EXPECT_DOUBLE_EQ(Scale(2), 1.0) << "a creature was touched while off";
  if (!commands) return;
  Run("console - hordesize.resizeall");
  EXPECT_TRUE(Has(TakeLogLines(), OffReplyFor(name)));
  Run("console - hordesize.setscale 0.5");
  Run("console - hordesize.reload");
  const Lines refused = TakeLogLines();
  EXPECT_EQ(std::count(refused.begin(), refused.end(), OffReplyFor(name)), 2)
      << ::testing::PrintToString(refused);
  Run("console - hordesize.status");
  // The status answers, first line first; a count the game cannot make says so on its own line.
  const Lines status = TakeLogLines();
  const auto first = std::find(status.begin(), status.end(), OffReplyFor(name));
  ASSERT_NE(first, status.end()) << ::testing::PrintToString(status);
  ASSERT_GE(status.end() - first, 4);
  EXPECT_EQ(first[1].rfind("Config: ", 0), 0u) << first[1];
  EXPECT_EQ(first[3].rfind("Creatures: ", 0), 0u) << first[3];
  if (rcon_replies) {
    const Lines replies = Run("rcon hordesize.resizeall");
    ASSERT_GE(replies.size(), 2u);
    EXPECT_NE(replies[replies.size() - 2].find("Off: the game lacks " + name), std::string::npos);
  }
  // A player hears the same, or, where the game lacks what the host's messaging needs, the log
  // does.
  Run("chat 1 /hordesize resizeall");
  Run("wait 5");
  Run("save");
  EXPECT_DOUBLE_EQ(Scale(2), 1.0);
}

void GameLacking::ExpectTheRestRuns(const std::string& name, const Lines& start, float arm,
                                    const Offsets& camera) {
  const StillOn on = StillOnWithout(*GetParam().name);
  // One warning names the name and what it turned off; nothing says off.
  const auto lacked = std::find_if(start.begin(), start.end(), [&](const std::string& line) {
    return line.rfind("[Tinyhorde] The game lacks " + name + ": ", 0) == 0;
  });
  ASSERT_NE(lacked, start.end()) << ::testing::PrintToString(start);
  const std::string tail = " off; the rest runs.";
  ASSERT_GT(lacked->size(), tail.size());
  EXPECT_EQ(lacked->substr(lacked->size() - tail.size()), tail);
  const std::string lacked_line = *lacked;
  EXPECT_EQ(lacked_line.find("camera scaling") != std::string::npos,
            (GetParam().name->features & host::feature::kCamera) != 0)
      << lacked_line;
  EXPECT_FALSE(HasStarting(start, "[Tinyhorde] Off:"));
  EXPECT_FALSE(HasStarting(start, "[Tinyhorde] Could not hook ")) << "named twice";
  EXPECT_FALSE(HasStarting(start, "[Tinyhorde] Game function ")) << "named twice";
  EXPECT_EQ(Has(start, "[Tinyhorde] Plugin initialized successfully."), on.shrinking);
  EXPECT_EQ(
      Has(start, "[Tinyhorde] RCON commands not registered: the game lacks " +
                     std::string(names::kRconSendMessage.name) + ", through which they reply."),
      !on.rcon);

  // Every storage hook is in place unless it is the one the game lacks; a trigger or camera hook
  // whose feature is off is not installed.
  for (const tinyhorde::DetourRow& row : tinyhorde::DetourTable()) {
    if (row.name.unverified_because != nullptr) continue;
    const sim::HookTable::Point* point = Server().Hooks().Find(row.name.name);
    ASSERT_NE(point, nullptr) << row.name.name;
    const bool lacked = name == row.name.name;
    const bool feature_off = (row.name.features & GetParam().name->features) != 0;
    EXPECT_EQ(point->links.size(), lacked || (!row.guards_storage && feature_off) ? 0u : 1u)
        << row.name.name;
  }

  // Loaded into a running world, the tamed target shrinks, its camera with it.
  EXPECT_DOUBLE_EQ(Scale(2), on.shrinking ? 0.25 : 1.0);
  EXPECT_FLOAT_EQ(Game().Camera(2, false), on.camera ? arm * 0.25f : arm);
  const auto offsets = Game().CameraOffsets(Game().CreatureObject(2));
  ASSERT_EQ(offsets.size(), camera.size());
  for (std::size_t i = 0; i < camera.size(); ++i)
    EXPECT_DOUBLE_EQ(offsets[i].second.X, camera[i].second.X * (on.camera ? 0.25 : 1.0))
        << offsets[i].first;

  // The status: its first line says whether it shrinks, its fifth repeats the warning, and the
  // hook the game lacks by default follows.
  Run("console - hordesize.status");
  const Lines status = TakeLogLines();
  const auto first = std::find_if(status.begin(), status.end(), [](const std::string& line) {
    return line.rfind("[Tinyhorde] Status: ", 0) == 0;
  });
  ASSERT_NE(first, status.end()) << ::testing::PrintToString(status);
  ASSERT_GE(status.end() - first, 6) << ::testing::PrintToString(status);
  EXPECT_EQ(first[0], on.shrinking ? "[Tinyhorde] Status: shrinking on."
                                   : "[Tinyhorde] Status: shrinking off, restoring only (the "
                                     "game lacks " +
                                         name + ").");
  EXPECT_EQ(first[4], lacked_line);
  EXPECT_EQ(first[5].rfind("Not hooked, as the game lacks them: ", 0), 0u) << first[5];

  // RCON answers, or its commands are not there and the host says so.
  const Lines rcon = Run("rcon hordesize.status");
  const std::string rcon_text = ::testing::PrintToString(rcon);
  EXPECT_EQ(rcon_text.find("[Tinyhorde] Status: ") != std::string::npos, on.rcon) << rcon_text;

  // The chat: an administrator's status, refused to everyone without the admin flag, the banner
  // for every word without the game's comparison; the version for everyone.
  const Lines admin_out = Run("chat 1 /hordesize status");
  const Lines admin_log = TakeLogLines();
  const std::string admin_reply = !on.chat_words   ? "[Tinyhorde] Active."
                                  : !on.chat_admin ? "Admin privileges required."
                                                   : "[Tinyhorde] Status: ";
  EXPECT_TRUE(Heard(admin_out, admin_log, 1, admin_reply, on.player_replies))
      << admin_reply << ::testing::PrintToString(admin_out) << ::testing::PrintToString(admin_log);
  Run("wait 1");  // the chat's rate limit
  const Lines version_out = Run("chat 3 /hordesize version");
  const Lines version_log = TakeLogLines();
  EXPECT_TRUE(Heard(version_out, version_log, 3,
                    on.chat_words ? "[Tinyhorde] Tinyhorde " : "[Tinyhorde] Active.",
                    on.player_replies))
      << ::testing::PrintToString(version_out) << ::testing::PrintToString(version_log);

  // Each trigger left on shrinks a tamed target; one turned off leaves it as it is.
  const int spawned = Created("spawn Dreadnoughtus_Character_BP_C tamed 1");
  EXPECT_DOUBLE_EQ(Scale(spawned), on.begin_play ? 0.25 : 1.0) << "begin play";
  const int tamed = Created("spawn Dreadnoughtus_Character_BP_C");
  ASSERT_DOUBLE_EQ(Scale(tamed), 1.0);
  Run("tame " + std::to_string(tamed) + " 1");
  // The game's taming sets the creature's team: either trigger shrinks it.
  EXPECT_DOUBLE_EQ(Scale(tamed), on.tame || on.team_change ? 0.25 : 1.0) << "tame";
  const int joined = Created("spawn Dreadnoughtus_Character_BP_C");
  Run("team " + std::to_string(joined) + " 60000");
  EXPECT_DOUBLE_EQ(Scale(joined), on.team_change ? 0.25 : 1.0) << "team change";
  // A save puts every creature back and, a second later, shrinks it again; in between each other
  // path is tried on a creature at full size.
  Run("save");
  ASSERT_DOUBLE_EQ(Scale(2), 1.0);
  Run("console - hordesize.resizeall");
  EXPECT_DOUBLE_EQ(Scale(2), on.shrinking ? 0.25 : 1.0) << "resizeall";
  Run("save");
  Run("stasis 2");
  Run("wake 2");
  EXPECT_DOUBLE_EQ(Scale(2), on.wake ? 0.25 : 1.0) << "wake";
  Run("save");
  Run("ride 2 1");
  EXPECT_DOUBLE_EQ(Scale(2), on.ride ? 0.25 : 1.0) << "ride";
  Run("dismount 2");
  Run("wait 2");
  EXPECT_DOUBLE_EQ(Scale(2), on.shrinking ? 0.25 : 1.0) << "after the save";

  // Nothing is stored small: a copy, a snapshot, an upload, a cryopod, a save; a creature
  // released from its pod begins play again.
  Run("export 2 1");
  Run("snapshot 2");
  Run("upload " + std::to_string(tamed) + " 1");
  const int pod = Created("cryo 2 1");
  const int released = Created("uncryo " + std::to_string(pod) + " 1");
  EXPECT_DOUBLE_EQ(Scale(released), on.begin_play ? 0.25 : 1.0) << "release";
  Run("save");
  Run("wait 2");
  ExpectNothingStoredSmall(camera);
  TakeLogLines();
}

TEST_P(GameLacking, TurnsOffOnlyWhatNeedsTheNameAndComesBackWithIt) {
  const host::GameName* lacking = GetParam().name;
  const std::string name = lacking->name;

  ASSERT_EQ(Run("player Ada admin").back(), "ok player 1");
  ASSERT_EQ(Run("spawn Dreadnoughtus_Character_BP_C tamed 1").back(), "ok creature 2");
  ASSERT_EQ(Run("player Ben").back(), "ok player 3");
  // What the game shows without the plugin.
  const float arm = Game().Camera(2, false);
  const auto camera = Game().CameraOffsets(Game().CreatureObject(2));
  // A game update and a restart: the host's cache no longer has the name.
  ASSERT_EQ(Run("host forget " + name).back(), "ok");
  TakeLogLines();
  LoadPlugin();  // a look-up of the name would end the server (and this test) here
  const Lines start = TakeLogLines();
  if (StillOnWithout(*lacking).off)
    ExpectOff(name, start);
  else
    ExpectTheRestRuns(name, start, arm, camera);
  ExpectNothingStoredSmall(camera);

  UnloadPlugin();
  for (const auto& [id, creature] : Game().Creatures())
    EXPECT_EQ(Game().RootScale(creature).X, 1.0) << "creature " << id << " left small";
  // The next update brings the name back: everything works as before.
  ASSERT_EQ(Run("host know " + name).back(), "ok");
  TakeLogLines();
  LoadPlugin();
  const Lines again = TakeLogLines();
  EXPECT_TRUE(HasStarting(again,
                          "[Tinyhorde] Game names checked against the host's offsets "
                          "cache: all "))
      << ::testing::PrintToString(again);
  EXPECT_TRUE(Has(again, "[Tinyhorde] Plugin initialized successfully."));
  if (Game().IsCreatureId(2)) {
    EXPECT_DOUBLE_EQ(Scale(2), 0.25);
  }
  UnloadPlugin();
  for (const auto& [id, creature] : Game().Creatures())
    EXPECT_EQ(Game().RootScale(creature).X, 1.0) << "creature " << id << " left small";
}

INSTANTIATE_TEST_SUITE_P(EveryName, GameLacking, ::testing::ValuesIn(EveryNameOnTheList()),
                         [](const auto& info) {
                           return TestNameOf(info.param.name->name) +
                                  (info.param.hooks_do_not_throw ? "_HooksDoNotThrow" : "");
                         });

class GameNamesCache : public simtest::SimFixture {};

TEST_F(GameNamesCache, AFreshCacheIsCheckedAndEveryNameIsThere) {
  Run("player Ada admin");
  Run("spawn Gigant_Character_BP_C tamed 1");
  TakeLogLines();
  LoadPlugin();
  const Lines start = TakeLogLines();
  // The marked hook the game lacks by default is not counted: the plugin needs it not.
  const std::string prefix =
      "[Tinyhorde] Game names checked against the host's offsets cache: all " +
      std::to_string(std::size(host::kGameNames) - 1) + " present (";
  EXPECT_TRUE(HasStarting(start, prefix)) << ::testing::PrintToString(start);
  EXPECT_TRUE(Has(start, "[Tinyhorde] Plugin initialized successfully."));
  // The marked hook is reported as one the game lacks, since the cache says so.
  EXPECT_TRUE(Has(start, std::string("[Tinyhorde] Not hooked, as the game lacks them: ") +
                             names::kOnUncryo.name + "."))
      << ::testing::PrintToString(start);
  EXPECT_DOUBLE_EQ(Game().RootScale(Game().CreatureObject(2)).X, 0.75);
}

// Where the cache cannot be read, every name is asked for as before: the plugin runs, and the log
// says the names were not checked and why.
class UnreadableCache : public simtest::SimFixture,
                        public ::testing::WithParamInterface<const char*> {};

TEST_P(UnreadableCache, EveryNameIsAskedForAsBeforeWithALineThatSaysWhy) {
  Run("player Ada admin");
  Run("spawn Dreadnoughtus_Character_BP_C tamed 1");
  ASSERT_EQ(Run(std::string("host cache ") + GetParam()).back(), "ok");
  TakeLogLines();
  LoadPlugin();
  const Lines start = TakeLogLines();
  const auto line = std::find_if(start.begin(), start.end(), [](const std::string& l) {
    return l.rfind("[Tinyhorde] Game names not checked (", 0) == 0;
  });
  ASSERT_NE(line, start.end()) << ::testing::PrintToString(start);
  const std::string tail = "): a name the game lacks would stop the server.";
  ASSERT_GT(line->size(), tail.size());
  EXPECT_EQ(line->substr(line->size() - tail.size()), tail);
  // The reason is there.
  EXPECT_GT(line->size(), std::string("[Tinyhorde] Game names not checked (").size() + tail.size());
  EXPECT_TRUE(Has(start, "[Tinyhorde] Plugin initialized successfully."));
  EXPECT_FALSE(HasStarting(start, "[Tinyhorde] Off:"));
  EXPECT_DOUBLE_EQ(Game().RootScale(Game().CreatureObject(2)).X, 0.25);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, UnreadableCache,
    ::testing::Values("absent", "legacy-hash", "legacy-json", "version 2", "generation-gone",
                      "lock offsets", "lock bitfields", "corrupt empty offsets",
                      "corrupt zero-key offsets", "corrupt huge-key offsets",
                      "corrupt key-past-end offsets", "corrupt short-value offsets",
                      "corrupt trailing offsets", "corrupt repeat offsets",
                      "corrupt empty bitfields", "corrupt zero-key bitfields",
                      "corrupt huge-key bitfields", "corrupt key-past-end bitfields",
                      "corrupt short-value bitfields", "corrupt trailing bitfields",
                      "corrupt repeat bitfields"),
    [](const auto& info) { return TestNameOf(info.param); });

// A cache that passes every check but claims a name the game lacks is trusted: the plugin asks,
// and the host stops the server, as a real one would.
TEST_F(GameNamesCache, AStaleCacheThatPassesEveryCheckStillStopsTheServer) {
  const std::string name = names::kBaseDinoScale.name;
  ASSERT_EQ(Run("host forget " + name).back(), "ok");
  ASSERT_EQ(Run("host cache stale").back(), "ok");
  EXPECT_SERVER_ENDS(LoadPlugin(), "Failed to get the offset of '" + name + "'.");
}

// Nothing can read, write or call through the handle of a name the game lacks: the attempt
// raises, and never lands on offset 0 or a null function.
class AbsentHandle : public simtest::SimFixture,
                     public ::testing::WithParamInterface<const host::GameName*> {
 protected:
  void TearDown() override {
    // The next test's server has every name again; forget this one's answer.
    host::CheckGameNames();
    simtest::SimFixture::TearDown();
  }
};

TEST_P(AbsentHandle, CannotBeReadWrittenOrCalled) {
  const host::GameName& name = *GetParam();
  ASSERT_EQ(Run(std::string("host forget ") + name.name).back(), "ok");
  const host::GameNamesCheck check = host::CheckGameNames();
  ASSERT_EQ(check.unknown_reason, "");
  // Asking the host for it now would end the server (and this test).
  alignas(8) unsigned char object[64] = {};
  switch (name.kind) {
    case host::GameNameKind::Field: {
      const std::uintptr_t offset = host::GetFieldOffset(name);
      EXPECT_EQ(offset, host::kAbsentOffset);
      EXPECT_THROW(host::FieldAt<int>(object, offset) = 1, host::UnknownGameName);
      break;
    }
    case host::GameNameKind::Flag: {
      const host::BitField flag = host::GetBitFieldOffset(name);
      EXPECT_EQ(flag.offset, host::kAbsentOffset);
      EXPECT_THROW(host::IsFlagSetIn(object, flag), host::UnknownGameName);
      break;
    }
    case host::GameNameKind::Function:
    case host::GameNameKind::Hook: {
      EXPECT_EQ(host::GetFunctionAddress(name), nullptr);
      host::GameFunction<void()> function(name);
      EXPECT_FALSE(function.Resolve());
      EXPECT_THROW(function(), host::UnknownGameName);
      if (name.kind == host::GameNameKind::Hook) {
        void* slot = nullptr;
        EXPECT_FALSE(host::InstallHook(name, reinterpret_cast<void*>(+[] {}), &slot));
        EXPECT_EQ(slot, nullptr);
      }
      break;
    }
  }
  EXPECT_TRUE(std::all_of(std::begin(object), std::end(object), [](unsigned char b) {
    return b == 0;
  })) << "written through an absent handle";
}

std::vector<const host::GameName*> UnmarkedNames() {
  std::vector<const host::GameName*> list;
  for (const host::GameName* name : host::kGameNames)
    if (name->unverified_because == nullptr) list.push_back(name);
  return list;
}

INSTANTIATE_TEST_SUITE_P(EveryName, AbsentHandle, ::testing::ValuesIn(UnmarkedNames()),
                         [](const auto& info) { return TestNameOf(info.param->name); });

}  // namespace
