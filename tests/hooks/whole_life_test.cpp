// Whole lives of creatures through the simulated game's flows: shrunk in the world, at full size
// in every stored record.
#include <gtest/gtest.h>

#include <fmt/format.h>

#include "hooks/flow_fixture.h"
#include "plugin/lifecycle.h"
#include "scaling/post_save_resize.h"
#include "scaling/shrink_gate.h"
#include "sim/game_functions.h"

namespace {

// Logged once, at the first saving archive after the plugin's start-up.
// A dedicated server's archives have the cooked layout, the simulated game's default.
const std::string kArchiveLine = "[Tinyhorde] Saving archives: the flag is read at byte 40.";

using sim::Hook;
using Lines = std::vector<std::string>;

// The line of a world save that put nothing back.
std::string NothingSavedLine() {
  return tinyhorde::WorldSaveText(0, 0, 0);
}

class WholeLife : public flowtest::FlowFixture {
 protected:
  void SetUp() override {
    FlowFixture::SetUp();
    Do("player Ada admin");  // 1
    Do("player Ben");        // 2
    StartInProcess();
    TakeLogLines();
  }
  void ExpectScale(int id, double s) {
    EXPECT_DOUBLE_EQ(Root(id).X, s);
    EXPECT_DOUBLE_EQ(Root(id).Z, s);
    EXPECT_DOUBLE_EQ(Base(id).Y, s);
    EXPECT_DOUBLE_EQ(Mesh(id).X, s);
  }
  void ExpectStoredAtFullSize(int record) {
    const auto* stored = Game().StoredById(record);
    ASSERT_NE(stored, nullptr);
    for (const auto& v : {stored->root_scale, stored->base_dino_scale, stored->mesh_scale}) {
      EXPECT_DOUBLE_EQ(v.X, 1.0);
      EXPECT_DOUBLE_EQ(v.Y, 1.0);
      EXPECT_DOUBLE_EQ(v.Z, 1.0);
    }
    for (const auto& [name, value] : stored->camera) {
      const sim::FVector baseline = name == "RiderFPVCameraOffset" ? sim::FVector{0, 0, 50} : [&] {
        for (const auto& p : sim::ClassTree::StandardCameraProperties())
          if (p.name == name) return p.default_value;
        return sim::FVector{};
      }();
      EXPECT_DOUBLE_EQ(value.X, baseline.X) << name;
      EXPECT_DOUBLE_EQ(value.Z, baseline.Z) << name;
    }
  }
  // The world saves' lines written since the last call.
  Lines SaveLines() {
    Lines lines = TakeLogLines();
    std::erase_if(lines, [](const std::string& line) {
      return line.rfind("[Tinyhorde] World saved:", 0) != 0;
    });
    return lines;
  }
  int LastRecord(const std::string& kind) {
    int id = 0;
    for (const auto& record : Game().Stored())
      if (record.kind == kind) id = record.id;
    return id;
  }
};

TEST_F(WholeLife, ATamedDreadnoughtusFromSpawnToDestruction) {
  const int dino = Do("spawn Dreadnoughtus_Character_BP_C tamed 1");
  ExpectScale(dino, 0.25);
  EXPECT_DOUBLE_EQ(Camera(dino, "TPVDefaultCameraOffset").X, 10.0);
  Do("wait 1");
  ExpectScale(dino, 0.25);
  Do("wait 2");
  ExpectScale(dino, 0.25);

  const int pod = Do("cryo " + std::to_string(dino) + " 1");
  ExpectStoredAtFullSize(pod);
  EXPECT_FALSE(Game().IsCreatureId(dino));
  const int released = Do("uncryo " + std::to_string(pod) + " 1");
  ExpectScale(released, 0.25);
  EXPECT_DOUBLE_EQ(Camera(released, "TPVDefaultCameraOffset").X, 10.0) << "no compounding";
  Do("wait 3");
  ExpectScale(released, 0.25);

  Do("save");
  ExpectStoredAtFullSize(LastRecord("save"));
  ExpectScale(released, 1.0);
  Do("wait 1");
  ExpectScale(released, 0.25);

  const int exported = Do("export " + std::to_string(released) + " 1");
  ExpectStoredAtFullSize(exported);
  const int snapshot = Do("snapshot " + std::to_string(released));
  ExpectStoredAtFullSize(snapshot);
  Do("wake " + std::to_string(released));
  Do("console 1 hordesize.resizeall");
  ExpectScale(released, 0.25);

  const int upload = Do("upload " + std::to_string(released) + " 1");
  ExpectStoredAtFullSize(upload);
  const int downloaded = Do("download " + std::to_string(upload) + " 1");
  ExpectScale(downloaded, 0.25);
  EXPECT_DOUBLE_EQ(SeenByGame(Hook::Destroy, released), 1.0);

  Do("destroy " + std::to_string(downloaded));
  EXPECT_DOUBLE_EQ(SeenByGame(Hook::Destroyed, downloaded), 1.0);
  Do("wait 5");
  EXPECT_EQ(LiveBlocks(), 0u);
}

TEST_F(WholeLife, CaptureToolsRestoreAndOtherDamageDoesNot) {
  const int dino = Do("spawn Dreadnoughtus_Character_BP_C tamed 1");
  for (const char* causer : {"PrimalItemAmmo_CryoGUN_C", "Proj_CaptureBall", "BearTRAP_C",
                             "Pelayori_Projectile", "CAPTUREnet", "NetGun_C"}) {
    Do("console 1 hordesize.resizeall");
    ExpectScale(dino, 0.25);
    Do("damage " + std::to_string(dino) + " " + causer);
    EXPECT_DOUBLE_EQ(SeenByGame(Hook::TakeDamage, dino), 1.0) << causer;
  }
  Do("console 1 hordesize.resizeall");
  Do("damage " + std::to_string(dino) + " Sword_C");
  ExpectScale(dino, 0.25);
}

TEST_F(WholeLife, AWildTargetUnderOnlyTamedIsNeverShrunkAndSavedWithoutARestore) {
  const int wild = Do("spawn Titanosaur_Character_BP_C");
  ExpectScale(wild, 1.0);
  EXPECT_TRUE(Server().Clock().Pending().empty());
  TakeLogLines();
  Do("save");
  EXPECT_EQ(TakeLogLines(), (std::vector<std::string>{kArchiveLine, NothingSavedLine()}))
      << "no restore line for a creature that was never shrunk";
  EXPECT_TRUE(Server().Clock().Pending().empty());
  SetOnlyTamed(false);
  const int now_handled = Do("spawn Titanosaur_Character_BP_C");
  ExpectScale(now_handled, 0.28);
  EXPECT_EQ(Server().Clock().Pending().size(), 2u);
}

TEST_F(WholeLife, AWildCreatureShrunkBeforeOnlyTamedWasSwitchedOnIsStillSavedAtFullSize) {
  const int mounted_dead = Do("spawn Titanosaur_Character_BP_C");
  Do("kill " + std::to_string(mounted_dead));
  SetOnlyTamed(false);
  const int shrunk = Do("spawn Titanosaur_Character_BP_C");
  Do("ride " + std::to_string(mounted_dead) + " 1");  // the camera follows, the body does not
  ExpectScale(shrunk, 0.28);
  ExpectScale(mounted_dead, 1.0);
  EXPECT_DOUBLE_EQ(Camera(mounted_dead, "TPVDefaultCameraOffset").X, 40.0 * 0.28);
  Do("wait 3");
  SetOnlyTamed(true);
  Do("save");
  for (const auto& record : Game().Stored()) ExpectStoredAtFullSize(record.id);
  Do("wait 2");
  ExpectScale(shrunk, 1.0);  // and not shrunk again: it is no longer handled
}

TEST_F(WholeLife, ACreatureTurningWildGoesBackToFullSize) {
  const int dino = Do("spawn Dreadnoughtus_Character_BP_C tamed 1");
  SetOnlyTamed(false);
  Do("team " + std::to_string(dino) + " 2000");  // its wild team
  ExpectScale(dino, 1.0);
  EXPECT_DOUBLE_EQ(Camera(dino, "TPVDefaultCameraOffset").X, 40.0);
  Do("tame " + std::to_string(dino) + " 2");
  ExpectScale(dino, 0.25);
}

TEST_F(WholeLife, NonTargetsAndPlayersAreNeverTouched) {
  const int rex = Do("spawn Rex_Character_BP_C tamed 1");
  Do("damage " + std::to_string(rex) + " CryoGun_C");
  Do("damage 1 CryoGun_C");
  Do("ride " + std::to_string(rex) + " 1");
  Do("save");
  Do("snapshot " + std::to_string(rex));
  ExpectScale(rex, 1.0);
  EXPECT_DOUBLE_EQ(Camera(rex, "TPVDefaultCameraOffset").X, 40.0);
  EXPECT_EQ(Game().RootScale(Game().PlayerById(1).character).X, 1.0);
  EXPECT_EQ(TakeLogLines(), (std::vector<std::string>{kArchiveLine, NothingSavedLine()}));
}

TEST_F(WholeLife, ACryopodTheGameRefusesLeavesTheCreatureAlone) {
  const int dino = Do("spawn Dreadnoughtus_Character_BP_C tamed 1");
  const auto printed = Run("cryo " + std::to_string(dino) + " 2");  // Ben is of another team
  ASSERT_EQ(printed.back().rfind("error", 0), 0u);
  ExpectScale(dino, 0.25);
  EXPECT_TRUE(Game().Stored().empty());
}

TEST_F(WholeLife, ADeadTargetIsSavedAtFullSizeAndNotShrunkAgain) {
  const int dino = Do("spawn Dreadnoughtus_Character_BP_C tamed 1");
  Do("wait 3");
  Do("kill " + std::to_string(dino));
  Do("save");
  ExpectStoredAtFullSize(LastRecord("save"));
  EXPECT_TRUE(Server().Clock().Pending().empty());
  Do("wait 2");
  ExpectScale(dino, 1.0);
}

TEST_F(WholeLife, AFailureAfterTheSaveOnlySkipsTheReScaling) {
  const int dino = Do("spawn Dreadnoughtus_Character_BP_C tamed 1");
  Do("wait 3");
  // No weak reference can be made any more. The save queues the re-scaling with the reference
  // taken when the creature was shrunk; the re-scaling itself records the creature anew before
  // writing, fails there, and leaves it at full size.
  Server().Faults().Fail("FWeakObjectPtr.operator=(UObject*)");
  const auto printed = Run("save");
  ASSERT_FALSE(printed.empty());
  EXPECT_EQ(printed.back(), "ok");
  EXPECT_EQ(Server().ErrorCount(), 0);
  ExpectStoredAtFullSize(LastRecord("save"));
  Do("wait 2");
  EXPECT_TRUE(Server().Clock().Pending().empty());
  EXPECT_EQ(Server().ErrorCount(), 0);
  ExpectScale(dino, 1.0);
}

TEST_F(WholeLife, WakingACreatureAlreadyAtScaleWritesNothing) {
  const int dino = Do("spawn Dreadnoughtus_Character_BP_C tamed 1");
  Do("stasis " + std::to_string(dino));
  TakeLogLines();
  Do("wake " + std::to_string(dino));
  EXPECT_TRUE(TakeLogLines().empty());
  ForceScale(dino, 1.0);
  Do("wake " + std::to_string(dino));
  ExpectScale(dino, 0.25);
}

TEST_F(WholeLife, MountingScalesTheRiderCameraAndTheArmLength) {
  const int dino = Do("spawn Dreadnoughtus_Character_BP_C tamed 1");
  Do("ride " + std::to_string(dino) + " 1");
  EXPECT_DOUBLE_EQ(Camera(dino, "RiderFPVCameraOffset").Z, 12.5);
  EXPECT_FLOAT_EQ(Game().Camera(1, false), 200.f);
  EXPECT_FLOAT_EQ(Game().Camera(1, true), 200.f);
  EXPECT_FLOAT_EQ(Game().Camera(dino, false), 200.f);
  Do("dismount " + std::to_string(dino));
  EXPECT_FLOAT_EQ(Game().Camera(1, false), 300.f);
}

TEST_F(WholeLife, AWorldLoadRebuildsCreaturesAtFullSizeAndShrinksThemAgain) {
  const int dino = Do("spawn Dreadnoughtus_Character_BP_C tamed 1");
  Do("save");
  Do("load");
  EXPECT_FALSE(Game().IsCreatureId(dino));
  ASSERT_EQ(Game().Creatures().size(), 1u);
  const int rebuilt = Game().Creatures().begin()->first;
  ExpectScale(rebuilt, 0.25);
  EXPECT_DOUBLE_EQ(Camera(rebuilt, "TPVDefaultCameraOffset").X, 10.0);
}

TEST_F(WholeLife, ANewCreatureAtADestroyedOnesAddressStartsFromItsOwnOffsets) {
  const int first = Do("spawn Dreadnoughtus_Character_BP_C tamed 1");
  auto* address = Dino(first);
  Do("destroy " + std::to_string(first));
  const int second =
      Game().CreateCreature(Server().Classes().Species("Dreadnoughtus_Character_BP_C"));
  ASSERT_EQ(Dino(second), address) << "the game reuses the freed memory";
  // This one carries other offsets than the first had; they must be its baselines.
  auto& offset = *reinterpret_cast<sim::FVector*>(
      reinterpret_cast<char*>(Dino(second)) +
      Server().Classes().Species("Dreadnoughtus_Character_BP_C").properties[1]->Offset_Internal);
  offset = {80, 0, 40};
  Do("tame " + std::to_string(second) + " 1");
  EXPECT_DOUBLE_EQ(Camera(second, "TPVDefaultCameraOffset").X, 20.0);
}

class RestoreOnly : public flowtest::FlowFixture {};

TEST_F(RestoreOnly, ARefusedStorageHookStopsAllShrinkingButKeepsRestoring) {
  Server().Hooks().Refuse("APrimalDinoCharacter.OnCryo(AShooterPlayerController*)");
  Do("player Ada admin");
  LoadPlugin();
  const auto lines = TakeLogLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 2],
            "[Tinyhorde] Storage hooks missing, creatures will not be shrunk: "
            "APrimalDinoCharacter.OnCryo(AShooterPlayerController*)");
  EXPECT_EQ(lines.back(),
            "[Tinyhorde] Loaded into a running world: 0 creature(s) at their scale, 0 restored to "
            "scale 1.0.");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "[Tinyhorde] Plugin initialized successfully."),
            0);
  const int dino = Do("spawn Dreadnoughtus_Character_BP_C tamed 1");
  Do("tame " + std::to_string(dino) + " 1");
  Do("console 1 hordesize.resizeall");
  Do("ride " + std::to_string(dino) + " 1");
  Do("wait 3");
  EXPECT_DOUBLE_EQ(Root(dino).X, 1.0);
  EXPECT_DOUBLE_EQ(Camera(dino, "TPVDefaultCameraOffset").X, 40.0);
  EXPECT_FLOAT_EQ(Game().Camera(1, false), 800.f);
  Do("dismount " + std::to_string(dino));
  ForceScale(dino, 0.25);
  const int pod = Do("cryo " + std::to_string(dino) + " 1");
  EXPECT_DOUBLE_EQ(Game().StoredById(pod)->root_scale.X, 1.0);
}

// A save puts every target back to full size and re-applies them all with one timer a second
// later; what happened to a creature meanwhile decides whether it is shrunk again. Then each save
// is summed up in one line, with DebugLog off as on.
struct AfterSaveCase {
  const char* name;
  const char* meanwhile;  // a console line about the middle creature ("{}" for its id), or ""
  double middle;          // its scale after the second; 0 when it is gone
  int shrunk_again;       // of the three, as the save's line counts them
  int gone;
  int saves;  // lines after the second: the saves whose creatures it re-applied
};

void PrintTo(const AfterSaveCase& c, std::ostream* os) {
  *os << c.name;
}

class AfterSave : public WholeLife, public ::testing::WithParamInterface<AfterSaveCase> {};

TEST_P(AfterSave, OneTimerShrinksEveryCreatureStillThere) {
  const AfterSaveCase& c = GetParam();
  {
    std::lock_guard<std::mutex> lock(tinyhorde::SettingsMutex);
    tinyhorde::PluginSettings.DebugLog = false;
  }
  tinyhorde::SettingsChanged();
  const int first = Do("spawn Dreadnoughtus_Character_BP_C tamed 1");
  const int middle = Do("spawn Giganotosaurus_Character_BP_C tamed 1");
  const int last = Do("spawn Dreadnoughtus_Character_BP_C tamed 1");
  Do("wait 5");
  const double giga = Root(middle).X;
  ASSERT_LT(giga, 1.0);
  Do("save");
  EXPECT_EQ(Server().Clock().Pending().size(), 1u);
  EXPECT_EQ(tinyhorde::PendingPostSaveResizesForTests(), 3u);
  for (int id : {first, middle, last}) ExpectScale(id, 1.0);
  TakeLogLines();
  if (*c.meanwhile != 0) {
    std::string line = c.meanwhile;
    if (const auto at = line.find("{}"); at != std::string::npos)
      line.replace(at, 2, std::to_string(middle));
    Do(line);
  }
  EXPECT_EQ(SaveLines(), Lines{}) << "written once the save's creatures were re-applied";
  Do("wait 1");
  EXPECT_TRUE(Server().Clock().Pending().empty());
  EXPECT_EQ(tinyhorde::PendingPostSaveResizesForTests(), 0u);
  const Lines again(static_cast<std::size_t>(c.saves), tinyhorde::WorldSaveText(3, 3, 0));
  if (c.saves == 2)
    EXPECT_EQ(SaveLines(), again) << "each save of the batch counts its own put back";
  else
    EXPECT_EQ(SaveLines(),
              Lines{fmt::format("[Tinyhorde] World saved: 3 creature(s) restored to scale 1.0 for "
                                "it, {} shrunk again, {} gone meanwhile, {} left at full size.",
                                c.shrunk_again, c.gone, 3 - c.shrunk_again - c.gone)});
  ExpectScale(first, 0.25);
  ExpectScale(last, 0.25);
  if (c.middle == 0) {
    EXPECT_FALSE(Game().IsCreatureId(middle));
  } else {
    EXPECT_DOUBLE_EQ(Root(middle).X, c.middle < 0 ? giga : c.middle);
  }
  // The next save gathers a batch of its own.
  Do("save");
  EXPECT_EQ(Server().Clock().Pending().size(), 1u);
  Do("wait 1");
  ExpectScale(first, 0.25);
  EXPECT_EQ(LiveBlocks(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Meanwhile, AfterSave,
                         ::testing::Values(AfterSaveCase{"NothingHappens", "", -1, 3, 0, 1},
                                           AfterSaveCase{"Destroyed", "destroy {}", 0, 2, 1, 1},
                                           AfterSaveCase{"Killed", "kill {}", 1.0, 2, 0, 1},
                                           AfterSaveCase{"SavedAgain", "save", -1, 3, 0, 2},
                                           AfterSaveCase{"CapturedByATool",
                                                         "damage {} PrimalItemAmmo_CryoGUN_C", -1,
                                                         3, 0, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// Unloading drops a pending batch with its timer: nothing runs, and a save after the next start
// gathers a new batch and schedules it.
TEST_F(WholeLife, UnloadingDropsThePendingBatch) {
  const int dino = Do("spawn Dreadnoughtus_Character_BP_C tamed 1");
  Do("save");
  ASSERT_EQ(tinyhorde::PendingPostSaveResizesForTests(), 1u);
  tinyhorde::UnloadPlugin();
  EXPECT_EQ(tinyhorde::PendingPostSaveResizesForTests(), 0u);
  EXPECT_TRUE(Server().Clock().Pending().empty());
  tinyhorde::InitializePlugin();
  ExpectScale(dino, 0.25);
  Do("save");
  EXPECT_EQ(Server().Clock().Pending().size(), 1u);
  Do("wait 1");
  ExpectScale(dino, 0.25);
}

}  // namespace

namespace {

// Every storage path, under each layout the game's archives may have, stores full size only; a
// loading archive restores nothing; an export or a snapshot is shrunk again a second later; and
// the first saving archive is logged with the byte its flag was read at (under a layout whose
// flag cannot be seen, a warning that the archives are not recognised: the hooks restore
// regardless).
struct LayoutCase {
  const char* layout;
  const char* logged_byte;  // null: nothing logged
};
void PrintTo(const LayoutCase& c, std::ostream* os) {
  *os << c.layout;
}

class ArchiveLayouts : public WholeLife, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(ArchiveLayouts, EveryStoragePathStoresFullSizeAndLoadingRestoresNothing) {
  Do(std::string("host archive-layout ") + GetParam().layout);
  const int dino = Do("spawn Dreadnoughtus_Character_BP_C tamed 1");
  const std::string id = std::to_string(dino);
  Do("ride " + id + " 1");
  ExpectScale(dino, 0.25);
  TakeLogLines();
  Do("save");
  for (const auto& record : Game().Stored())
    if (record.kind == "save" && record.cls == "Dreadnoughtus_Character_BP_C")
      ExpectStoredAtFullSize(record.id);
  std::vector<std::string> logged = TakeLogLines();
  std::erase_if(logged, [](const std::string& line) {
    return line.rfind("[Tinyhorde] Saving archives", 0) != 0;
  });
  const std::string kUnrecognisedLine =
      "[Tinyhorde] Saving archives not recognised: the world save wrote characters through no "
      "archive the plugin sees as saving. World saves are still guarded, but a cryopod or a "
      "transfer that another plugin or a mod makes through the game's serializer alone may store "
      "a creature at its reduced size. Please report this line.";
  if (GetParam().logged_byte == nullptr)
    EXPECT_EQ(logged, std::vector<std::string>{kUnrecognisedLine});
  else
    EXPECT_EQ(logged, std::vector<std::string>{std::string("[Tinyhorde] Saving archives: the flag "
                                                           "is read at byte ") +
                                               GetParam().logged_byte + "."});
  Do("wait 2");
  ExpectScale(dino, 0.25);  // shrunk again by the post-save batch
  // A loading archive of the same layout leaves a shrunk creature as it is.
  sim::SimArchive loading(nullptr, false, Game().archive_layout);
  Game().EntryOf<Hook::Serialize>()(&Dino(dino)->PrimalCharacter, &loading.base);
  ExpectScale(dino, 0.25);
  Do("snapshot " + id);
  ExpectStoredAtFullSize(LastRecord("snapshot"));
  Do("wait 1");
  ExpectScale(dino, 0.25);
  Do("export " + id + " 1");
  ExpectStoredAtFullSize(LastRecord("export"));
  Do("wait 1");
  ExpectScale(dino, 0.25);
  // Said once per load: a second save under the same layout adds nothing.
  TakeLogLines();
  Do("save");
  for (const auto& line : TakeLogLines())
    EXPECT_EQ(line.rfind("[Tinyhorde] Saving archives", 0), std::string::npos) << line;
  Do("dismount " + id);
  Do("cryo " + id + " 1");
  ExpectStoredAtFullSize(LastRecord("cryopod"));
  const int released = Do("uncryo " + std::to_string(LastRecord("cryopod")) + " 1");
  Do("wait 2");
  Do("upload " + std::to_string(released) + " 1");
  ExpectStoredAtFullSize(LastRecord("upload"));
}

INSTANTIATE_TEST_SUITE_P(EachLayout, ArchiveLayouts,
                         ::testing::Values(LayoutCase{"editor", "8"}, LayoutCase{"cooked", "40"},
                                           LayoutCase{"cooked-moved", nullptr}),
                         [](const auto& info) {
                           std::string name = info.param.layout;
                           std::erase(name, '-');
                           return name;
                         });

}  // namespace
