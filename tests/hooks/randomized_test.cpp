// Long seeded sequences of every flow over many creatures, run on the plugin library as the host
// loads it, with the world going down and up, world loads, plugin unloads and loads, and config
// reloads and setscale commands changing OnlyTamed, CreatureScales and TargetBlueprints between
// them. After every step: no stored record holds a reduced scale or a scaled camera offset; every
// creature in the world is at 1.0 or at a scale its class was given by the settings at some
// point, uniform on all axes and places, never a product or a mix; its camera offsets are their
// baselines times 1.0 or times a camera scale it was given; no FMemory block is left. Right after
// an unload every creature is at full size. After every reload, setscale and resize-all with the
// plugin and a world up, the world holds what the settings say: every living creature that
// qualifies (a target under the settings as the test models them, tamed when OnlyTamed is on) is
// at its scale with its camera at its camera scale, every other living creature the plugin had
// made smaller is back at full size with its camera baselines, and no other creature changed.
// A creature exported or snapshotted with the plugin and a world up stays in the world: a second
// later, if it qualifies, it is at its scale again, whatever layout the game's archives have.
// Every other seed runs with DebugLog on: the per-creature lines of no more creatures are written
// than a budget of 10, refilled at one every 5 s of game time since the plugin's load, holds; each
// count of held-back lines counts at least one line a creature; every world save's line adds up
// (restored = shrunk again + gone + left at full size), and no more such lines are written than
// saves were made; a resize-all with the plugin and a world up logs its result whatever the budget
// says. With DebugLog off no per-creature line is written.
//
// Replay one seed with TINYHORDE_SEED=<n>; run more events with TINYHORDE_EVENTS=<n> (default
// 2000, in seeds of 200 steps).
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <set>

#include <fmt/format.h>

#include "hooks/flow_fixture.h"

namespace {

const char* const kSpecies[] = {"Dreadnoughtus_Character_BP_C", "Giganotosaurus_Character_BP_C",
                                "Titanosaur_Character_BP_C",    "Mosasaur_Character_BP_C",
                                "Rex_Character_BP_C",           "Yutyrannus_Character_BP_C"};
constexpr int kSpeciesCount = 6;
const char* const kKeys[] = {"dreadnought", "giga", "titanosaur", "mosasaur", "rex"};
const char* const kBlueprints[] = {"Yutyrannus_Character_BP", "Rex_Character_BP",
                                   "Mosasaur_Character_BP", "Dreadnoughtus_Character_BP"};
constexpr const char* kConfig = "ShooterGame/Binaries/Win64/ArkApi/Plugins/Tinyhorde/config.json";

std::string Lowered(std::string text) {
  for (auto& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The plugin's settings as the test expects them from what it wrote and typed: the built-in
// defaults, then each config.json read merged in (OnlyTamed, CreatureScales added or replaced,
// TargetBlueprints replaced, the camera scale following the body scale), then the setscale
// commands.
struct ModelSettings {
  struct LongestFirst {
    bool operator()(const std::string& a, const std::string& b) const {
      return a.size() != b.size() ? a.size() > b.size() : a < b;
    }
  };
  bool only_tamed = true;
  double scale = 0.5;
  double camera_scale = 0.5;
  std::map<std::string, double, LongestFirst> scales;
  std::vector<std::string> blueprints;
};

// What a config.json written by the test says.
struct ModelFile {
  bool only_tamed = true;
  std::map<std::string, double> scales;
  std::optional<std::vector<std::string>> blueprints;
};

ModelSettings DefaultModel() {
  const tinyhorde::Settings defaults;
  ModelSettings model;
  for (const auto& [key, value] : defaults.CreatureScales) model.scales[key] = value;
  model.blueprints = defaults.TargetBlueprints;
  return model;
}

void MergeFile(ModelSettings& model, const ModelFile& file) {
  model.only_tamed = file.only_tamed;
  model.camera_scale = model.scale;
  for (const auto& [key, value] : file.scales) model.scales[Lowered(key)] = value;
  if (file.blueprints) model.blueprints = *file.blueprints;
}

// What the test reads of one creature: its three scales and its camera offsets.
struct Look {
  sim::FVector root, base, mesh;
  std::vector<std::pair<std::string, sim::FVector>> camera;
};

class Randomized : public flowtest::FlowFixture {
 protected:
  void SetUp() override {
    FlowFixture::SetUp();
    WriteFile(kConfig, R"({"DebugLog": false})");
    LoadPlugin();
    for (const char* name : {"Ada", "Ben", "Cy"})
      players.push_back(Do(std::string("player ") + name));
    // The built-in settings: every scale a class can have before anything changes them.
    const tinyhorde::Settings defaults;
    for (const auto& [key, value] : defaults.CreatureScales) Allow(key, value);
    for (const char* species : kSpecies) {
      allowed[species].insert(1.0);
      allowed[species].insert(defaults.DefaultScale);
    }
  }

  // A scale configured under key may be given to every class whose name holds it.
  void Allow(const std::string& key, double value) {
    for (const char* species : kSpecies)
      if (Lowered(species).find(Lowered(key)) != std::string::npos) allowed[species].insert(value);
  }
  void AllowEverywhere(double value) {
    for (const char* species : kSpecies) allowed[species].insert(value);
  }

  // A config.json with random OnlyTamed, creature scales and blueprint list, then a reload.
  void Reconfigure(const std::function<int(int)>& pick) {
    ModelFile written;
    written.blueprints.emplace();
    std::string scales;
    for (const char* key : kKeys) {
      if (pick(3) != 0) continue;
      const double value = 0.1 + 0.1 * pick(9);
      const std::string text = fmt::format("{}", value);
      scales += fmt::format("{}\"{}\": {}", scales.empty() ? "" : ", ", key, text);
      Allow(key, value);
      written.scales[key] = std::stod(text);
    }
    std::string blueprints;
    for (const char* blueprint : kBlueprints)
      if (pick(2) == 0) {
        blueprints += fmt::format("{}\"{}\"", blueprints.empty() ? "" : ", ", blueprint);
        written.blueprints->push_back(blueprint);
      }
    written.only_tamed = pick(2) == 0;
    Run(
        fmt::format("write {} {{\"DebugLog\": {}, \"OnlyTamed\": {}, \"CreatureScales\": {{{}}}, "
                    "\"TargetBlueprints\": [{}]}}",
                    kConfig, debug_log ? "true" : "false", written.only_tamed ? "true" : "false",
                    scales, blueprints));
    file = written;
    if (Server().Plugin().Loaded()) MergeFile(model, file);
    Run("rcon hordesize.reload");
  }

  std::string ClassOf(int id) {
    return sim::ClassTree::Info(
               Dino(id)->PrimalCharacter.Character.Pawn.Actor.Object.Base.ClassPrivate)
        .name;
  }
  static bool Near(double a, double b) { return std::fabs(a - b) < 1e-9; }
  static sim::FVector Baseline(const std::string& name) { return flowtest::CameraBaseline(name); }
  static bool IsMultiple(const sim::FVector& v, const sim::FVector& base, double k) {
    return Near(v.X, base.X * k) && Near(v.Y, base.Y * k) && Near(v.Z, base.Z * k);
  }

  void CheckInvariants(const std::string& where) {
    // Records never change once written: each is checked when it appears.
    const auto& stored = Game().Stored();
    for (; checked_records < stored.size(); ++checked_records) {
      const auto& record = stored[checked_records];
      for (const auto& v : {record.root_scale, record.base_dino_scale, record.mesh_scale})
        ASSERT_TRUE(Near(v.X, 1) && Near(v.Y, 1) && Near(v.Z, 1))
            << where << ": record " << record.id << " (" << record.kind << ") holds " << v.X;
      for (const auto& [name, value] : record.camera)
        ASSERT_TRUE(IsMultiple(value, Baseline(name), 1.0))
            << where << ": record " << record.id << " camera " << name;
    }
    for (const auto& [id, dino] : Game().Creatures()) {
      const auto root = Root(id);
      const auto base = Base(id);
      const auto mesh = Mesh(id);
      const double s = root.X;
      ASSERT_TRUE(Near(root.Y, s) && Near(root.Z, s) && Near(base.X, s) && Near(base.Z, s) &&
                  Near(mesh.X, s) && Near(mesh.Y, s))
          << where << ": creature " << id << " is not uniformly scaled";
      const auto& scales = allowed[ClassOf(id)];
      ASSERT_TRUE(std::any_of(scales.begin(), scales.end(), [&](double a) { return Near(a, s); }))
          << where << ": creature " << id << " at " << s << ", never configured for its class";
      for (const auto& [name, value] : Game().CameraOffsets(dino))
        ASSERT_TRUE(std::any_of(scales.begin(), scales.end(),
                                [&](double k) { return IsMultiple(value, Baseline(name), k); }))
            << where << ": creature " << id << " camera " << name << " = " << value.X;
    }
    ASSERT_EQ(LiveBlocks(), 0u) << where;
  }

  Look LookAt(int id) { return {Root(id), Base(id), Mesh(id), Game().CameraOffsets(Dino(id))}; }
  std::map<int, Look> LookAtAll() {
    std::map<int, Look> looks;
    for (const auto& [id, dino] : Game().Creatures()) looks.emplace(id, LookAt(id));
    return looks;
  }
  static bool Same(const sim::FVector& a, const sim::FVector& b) {
    return Near(a.X, b.X) && Near(a.Y, b.Y) && Near(a.Z, b.Z);
  }
  static bool Uniform(const sim::FVector& v, double s) { return Same(v, {s, s, s}); }
  static bool Holds(const Look& look, double scale, double camera_scale) {
    if (!Uniform(look.root, scale) || !Uniform(look.base, scale) || !Uniform(look.mesh, scale))
      return false;
    for (const auto& [name, value] : look.camera)
      if (!IsMultiple(value, Baseline(name), camera_scale)) return false;
    return true;
  }
  static bool Unchanged(const Look& before, const Look& after) {
    if (!Same(before.root, after.root) || !Same(before.base, after.base) ||
        !Same(before.mesh, after.mesh) || before.camera.size() != after.camera.size())
      return false;
    for (std::size_t i = 0; i < before.camera.size(); ++i)
      if (!Same(before.camera[i].second, after.camera[i].second)) return false;
    return true;
  }

  // The game's own signs of a tamed creature, as the plugin reads them.
  bool IsTamed(int id) {
    const auto* dino = Dino(id);
    const std::int32_t team = dino->PrimalCharacter.Character.Pawn.Actor.TargetingTeam;
    const std::int32_t untamed = dino->UntamedTargetingTeam;
    return team >= 50000 || dino->OwningPlayerID > 0 || dino->TamerString.ArrayNum > 1 ||
           dino->TamedName.ArrayNum > 1 || (team > 0 && untamed > 0 && team != untamed);
  }
  bool IsDead(int id) {
    return sim::TestBit(Dino(id)->PrimalCharacter.CharacterFlags, sim::kBitIsDead);
  }
  // The scale and camera scale the modelled settings give a creature that qualifies now.
  std::optional<std::pair<double, double>> Qualifying(int id) {
    if (IsDead(id) || (model.only_tamed && !IsTamed(id))) return std::nullopt;
    const std::string name = Lowered(ClassOf(id));
    for (const auto& [key, value] : model.scales)
      if (name.find(key) != std::string::npos) return std::make_pair(value, value);
    for (const auto& blueprint : model.blueprints)
      if (name.find(Lowered(blueprint)) != std::string::npos)
        return std::make_pair(model.scale, model.camera_scale);
    return std::nullopt;
  }

  // After a reload, setscale or resize-all with the plugin and a world up.
  void CheckWorldFollowsSettings(const std::map<int, Look>& before, const std::string& where) {
    for (const auto& [id, dino] : Game().Creatures()) {
      const Look now = LookAt(id);
      const auto was = before.find(id);
      ASSERT_NE(was, before.end()) << where << ": creature " << id << " appeared";
      if (const auto wanted = Qualifying(id)) {
        ASSERT_TRUE(Holds(now, wanted->first, wanted->second))
            << where << ": creature " << id << " qualifies for " << wanted->first << " (camera "
            << wanted->second << ") but is at " << now.root.X;
      } else if (IsDead(id)) {
        ASSERT_TRUE(Unchanged(was->second, now)) << where << ": dead creature " << id << " changed";
      } else {
        // Smaller before: the plugin made it so, and must have put it back. At full size before:
        // nothing may have changed, and full size is what it still is.
        ASSERT_TRUE(Holds(now, 1.0, 1.0))
            << where << ": creature " << id << " no longer qualifies but is at " << now.root.X
            << (Holds(was->second, 1.0, 1.0) ? " (changed from full size)" : "");
      }
    }
  }

  // A second after an export or a snapshot, with the plugin and a world up all along.
  void CheckCopiedCreatureShrunkAgain(const std::string& where) {
    Run("wait 1");
    if (Game().Creatures().count(copied) == 0) return;
    if (const auto wanted = Qualifying(copied)) {
      ASSERT_TRUE(Holds(LookAt(copied), wanted->first, wanted->second))
          << where << ": creature " << copied << " copied, qualifies for " << wanted->first
          << " but a second later is at " << Root(copied).X;
    }
  }

  void CheckEverythingAtFullSize(const std::string& where) {
    for (const auto& [id, dino] : Game().Creatures()) {
      ASSERT_TRUE(Near(Root(id).X, 1) && Near(Base(id).Y, 1) && Near(Mesh(id).Z, 1))
          << where << ": creature " << id << " left at " << Root(id).X << " by the unload";
      for (const auto& [name, value] : Game().CameraOffsets(dino))
        ASSERT_TRUE(IsMultiple(value, Baseline(name), 1.0))
            << where << ": creature " << id << " camera " << name << " left by the unload";
    }
  }

  void Step(std::mt19937& random) {
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    std::vector<int> live;
    for (const auto& [id, dino] : Game().Creatures()) live.push_back(id);
    const int player = players[static_cast<std::size_t>(pick(3))];
    const std::string p = std::to_string(player);
    const std::string c =
        live.empty()
            ? "0"
            : std::to_string(live[static_cast<std::size_t>(pick(static_cast<int>(live.size())))]);
    switch (pick(live.empty() ? 1 : 25)) {
      case 0: {
        const char* species = kSpecies[pick(kSpeciesCount)];
        Run(std::string("spawn ") + species + (pick(2) ? " tamed " + p : ""));
        break;
      }
      case 1:
        Run("tame " + c + " " + p);
        break;
      case 2:
        Run("team " + c + " " + std::to_string(pick(2) ? 100 : 60000 + pick(3)));
        break;
      case 3:
        Run("ride " + c + " " + p);
        break;
      case 4:
        Run("dismount " + c);
        break;
      case 5:
        Run("stasis " + c);
        Run("wake " + c);
        break;
      case 6:
        Run("damage " + c + (pick(2) ? " CryoGun_C" : " Sword_C"));
        break;
      case 7:
        Run("kill " + c);
        break;
      case 8:
        Run("destroy " + c);
        break;
      case 9: {
        const auto out = Run("cryo " + c + " " + p);
        if (!out.empty() && out.back().rfind("ok pod ", 0) == 0)
          pods.push_back(std::stoi(out.back().substr(7)));
        break;
      }
      case 10:
        if (!pods.empty()) {
          Run("uncryo " + std::to_string(pods.back()) + " " + p);
          pods.pop_back();
        }
        break;
      case 11: {
        const auto out = Run("upload " + c + " " + p);
        if (!out.empty() && out.back().rfind("ok upload ", 0) == 0)
          uploads.push_back(std::stoi(out.back().substr(10)));
        break;
      }
      case 12:
        if (!uploads.empty()) {
          Run("download " + std::to_string(uploads.back()) + " " + p);
          uploads.pop_back();
        }
        break;
      case 13:
        Run("export " + c + " " + p);
        copied = std::stoi(c);
        break;
      case 14:
        Run("snapshot " + c);
        copied = std::stoi(c);
        break;
      case 15:
        if (Server().Plugin().Loaded()) ++saves;
        Run("save");
        break;
      case 16:
        Run("wait " + std::to_string(pick(5)));
        break;
      case 17:
        settles = true;
        expect_resize_result = Server().Plugin().Loaded() && world_up;
        Run("console 1 hordesize.resizeall");
        break;
      case 18:
        settles = true;
        Reconfigure(pick);
        break;
      case 19: {
        settles = true;
        const int i = pick(5);
        const double value = 0.1 + 0.1 * pick(9);
        Run("console 1 hordesize.setscale " + std::string(kKeys[i]) + " " + std::to_string(value));
        Allow(kKeys[i], std::stod(std::to_string(value)));
        if (Server().Plugin().Loaded()) model.scales[kKeys[i]] = std::stod(std::to_string(value));
        break;
      }
      case 20: {
        settles = true;
        const double value = 0.1 + 0.1 * pick(9);
        Run("rcon hordesize.setscale " + std::to_string(value));
        AllowEverywhere(std::stod(std::to_string(value)));
        if (Server().Plugin().Loaded())
          model.scale = model.camera_scale = std::stod(std::to_string(value));
        break;
      }
      case 21:
        Run(world_up ? "world down" : "world up");
        world_up = !world_up;
        break;
      case 22:
        Run("load");
        break;
      case 23:
        if (Server().Plugin().Loaded()) {
          Run("plugin unload");
          unloaded = true;
        } else {
          Run("plugin load");
        }
        break;
      case 24:
        // Back to a world with the plugin in it, so that most steps run with both.
        if (!world_up) Run("world up");
        world_up = true;
        if (!Server().Plugin().Loaded()) Run("plugin load");
        break;
    }
  }

  // The log since the last call, against DebugLog's budget as the plugin loaded last has it.
  void CheckLog(const std::string& where) {
    const double now = Server().Clock().Now();
    budget = std::min(10.0, budget + (now - budget_at) / 5);
    budget_at = now;
    int written = 0;
    bool resize_result = false;
    for (const auto& line : TakeLogLines()) {
      const bool count = line.find("creature(s)") != std::string::npos;
      if (!count && (line.rfind("[Tinyhorde] Resized ", 0) == 0 ||
                     line.rfind("[Tinyhorde] Restored ", 0) == 0))
        ++written;
      if (line.rfind("[Tinyhorde] Stored orig", 0) == 0 ||
          line.rfind("[Tinyhorde] Scaled ", 0) == 0 ||
          (!count && line.rfind("[Tinyhorde] Resized ", 0) == 0)) {
        EXPECT_TRUE(debug_log) << where << ": with DebugLog off: " << line;
      }
      if (count && line.rfind("[Tinyhorde] Resized ", 0) == 0) resize_result = true;
      unsigned long creatures = 0, lines = 0, restored = 0, shrunk = 0, gone = 0, left = 0;
      if (std::sscanf(line.c_str(),
                      "[Tinyhorde] DebugLog held back the lines of %lu creature(s) (%lu line(s))",
                      &creatures, &lines) == 2) {
        EXPECT_GE(creatures, 1u) << where << ": " << line;
        EXPECT_GE(lines, creatures) << where << ": " << line;
      }
      if (std::sscanf(line.c_str(),
                      "[Tinyhorde] World saved: %lu creature(s) restored to scale 1.0 for it, %lu "
                      "shrunk again, %lu gone meanwhile, %lu left",
                      &restored, &shrunk, &gone, &left) == 4) {
        EXPECT_EQ(restored, shrunk + gone + left) << where << ": " << line;
        ++save_lines;
      }
    }
    budget -= written;
    EXPECT_GE(budget, -1e-9) << where << ": the lines of " << written
                             << " creature(s) written with a budget of " << budget + written;
    EXPECT_LE(save_lines, saves) << where << ": more save lines than saves";
    if (expect_resize_result) {
      EXPECT_TRUE(resize_result) << where << ": resize-all logged no result";
    }
    expect_resize_result = false;
  }

  // Runs a line and keeps it for the failure message.
  std::vector<std::string> Run(const std::string& line) {
    if (line.rfind("plugin ", 0) == 0) plugin_loaded_or_unloaded = true;
    // What the plugin wrote before a load was under the budget of the one before.
    if (line == "plugin load") {
      CheckLog("before a load" + History());
      budget = 10;
      budget_at = Server().Clock().Now();
    }
    history.push_back(line);
    if (history.size() > 12) history.erase(history.begin());
    const auto printed = FlowFixture::Run(line);
    // A library loaded anew starts from its defaults and reads config.json.
    if (line == "plugin load") {
      model = DefaultModel();
      MergeFile(model, file);
    }
    return printed;
  }
  std::string History() const {
    std::string text = "\nlast steps:";
    for (const auto& line : history) text += "\n  " + line;
    return text;
  }

  std::vector<std::string> history;
  ModelSettings model = DefaultModel();
  ModelFile file;        // what config.json says now
  bool settles = false;  // the last step was a reload, setscale or resize-all
  int copied = 0;        // the creature the last step exported or snapshotted
  bool world_up = true;
  bool unloaded = false;                   // the last step unloaded the plugin
  bool plugin_loaded_or_unloaded = false;  // the last step ran "plugin load" or "plugin unload"
  bool debug_log = false;                  // what config.json says of DebugLog
  double budget = 10;                      // creatures whose lines may be written, as of budget_at
  double budget_at = 0;
  int saves = 0;                      // saves made with the plugin loaded
  int save_lines = 0;                 // and the lines that summed them up
  bool expect_resize_result = false;  // the last step was a resize-all the plugin must log
  std::size_t checked_records = 0;
  std::vector<int> players;
  std::vector<int> pods;
  std::vector<int> uploads;
  std::map<std::string, std::set<double>> allowed;
};

TEST_F(Randomized, NoStoredRecordEverHoldsAReducedSize) {
  constexpr int kStepsPerSeed = 200;
  long events = 10 * kStepsPerSeed;
  if (const char* wanted = std::getenv("TINYHORDE_EVENTS")) events = std::atol(wanted);
  std::vector<unsigned> seeds;
  if (const char* replay = std::getenv("TINYHORDE_SEED")) {
    seeds.push_back(static_cast<unsigned>(std::strtoul(replay, nullptr, 10)));
  } else {
    for (long seed = 1; seed <= (events + kStepsPerSeed - 1) / kStepsPerSeed; ++seed)
      seeds.push_back(static_cast<unsigned>(seed));
  }
  long ran = 0;
  long settled = 0;
  for (unsigned seed : seeds) {
    // Each seed starts from a world with the plugin in it and ends with every creature gone.
    std::mt19937 random(seed);
    // The game's archives take one of the layouts a build may give them, drawn per seed: every
    // save and storage check below must hold under each.
    const char* const kLayouts[] = {"editor", "cooked", "cooked-moved"};
    ASSERT_EQ(Run(std::string("host archive-layout ") + kLayouts[seed % 3]).back(), "ok");
    // DebugLog on in every other seed, from a config.json of random settings.
    debug_log = seed % 2 == 0;
    Reconfigure([&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); });
    for (int step = 0; step < kStepsPerSeed; ++step, ++ran) {
      unloaded = false;
      plugin_loaded_or_unloaded = false;
      settles = false;
      copied = 0;
      const auto lookups = Server().Lookup().Lookups();
      const bool plugin_and_world = Server().Plugin().Loaded() && world_up;
      const std::map<int, Look> before = LookAtAll();
      Step(random);
      const std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step) +
                                " (replay with TINYHORDE_SEED=" + std::to_string(seed) + ")" +
                                History();
      // Names are resolved when the plugin starts (and hooks taken out by name when it stops);
      // no other step may look a name up.
      if (!plugin_loaded_or_unloaded) {
        EXPECT_EQ(Server().Lookup().Lookups(), lookups) << where;
      }
      if (copied != 0 && plugin_and_world) CheckCopiedCreatureShrunkAgain(where);
      CheckInvariants(where);
      if (unloaded) CheckEverythingAtFullSize(where);
      if (settles && plugin_and_world) {
        CheckWorldFollowsSettings(before, where);
        ++settled;
      }
      CheckLog(where);
      if (HasFatalFailure() || HasFailure()) return;
    }
    Run("world up");
    world_up = true;
    if (!Server().Plugin().Loaded()) Run("plugin load");
    for (const auto& [id, dino] : std::map<int, sim::APrimalDinoCharacter*>(Game().Creatures()))
      Run("destroy " + std::to_string(id));
    Run("wait 5");
    CheckLog("the end of seed " + std::to_string(seed) + History());
    pods.clear();
    uploads.clear();
  }
  RecordProperty("events", std::to_string(ran));
  RecordProperty("settled", std::to_string(settled));
  std::printf("ran %ld events over %zu seed(s), %ld checked as the world following the settings\n",
              ran, seeds.size(), settled);
}

}  // namespace
