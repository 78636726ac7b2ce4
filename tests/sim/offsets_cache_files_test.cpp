// The offsets cache the simulated host keeps, read with a parser of the test's own (the host's
// format and checks): the files at start, a game update before a load, each "host cache"
// control's bytes, and the simulated binding's opener and cache folder.
#include <dlfcn.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/game_names.h"
#include "host/sim/offsets_cache_file.h"
#include "host_settings.h"
#include "sim/console_words.h"
#include "sim/host_api.h"
#include "support/sim_fixture.h"

namespace {

namespace fs = std::filesystem;

std::uint64_t LittleEndian(const std::string& bytes, std::size_t at, std::size_t size) {
  std::uint64_t value = 0;
  for (std::size_t i = size; i-- > 0;) value = (value << 8) | std::uint8_t(bytes[at + i]);
  return value;
}

// A record file's records (key, value bytes) in file order, and the first of the host's checks
// it fails, named as the "host cache corrupt" words ("" when the host accepts it).
struct RecordFile {
  std::vector<std::pair<std::string, std::string>> records;
  std::string refusal;
  std::map<std::string, std::string> Values() const { return {records.begin(), records.end()}; }
};

RecordFile ParseRecords(const std::string& bytes, std::size_t value_size) {
  RecordFile file;
  std::size_t at = 0;
  const auto left = [&] { return bytes.size() - at; };
  if (bytes.empty()) file.refusal = "empty";
  while (file.refusal.empty() && at < bytes.size()) {
    if (left() < 8) {
      file.refusal = "trailing";
      break;
    }
    const std::uint64_t length = LittleEndian(bytes, at, 8);
    at += 8;
    if (length == 0)
      file.refusal = "zero-key";
    else if (length > 1024 * 1024)
      file.refusal = "huge-key";
    else if (length > left())
      file.refusal = "key-past-end";
    else if (left() - length < value_size)
      file.refusal = "short-value";
    else if (file.Values().count(bytes.substr(at, length)))
      file.refusal = "repeat";
    else
      file.records.emplace_back(bytes.substr(at, length), bytes.substr(at + length, value_size));
    at += length + value_size;
  }
  return file;
}

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

const std::regex kKeyFile(
    R"re(\{"cache_directory":"generations/([0-9a-f]{64})-([0-9]+)-[0-9]+-[0-9]+",)re"
    R"re("executable_hash":"([0-9a-f]{64})","last_modified":"[^"]+","version":1\})re");

std::string WhyNot(const fs::path& file) {
  std::string why;
  EXPECT_EQ(host::SimCacheOpener()(file.string(), &why), nullptr) << file;
  return why;
}

class OffsetsCacheFiles : public simtest::SimFixture {
 public:
  using SimFixture::Server;
  fs::path CacheDir() { return Win64Dir() / "ArkApi/Cache"; }
  std::string KeyText() { return ReadFile(CacheDir() / "cached_key.cache"); }
  nlohmann::json Key() { return nlohmann::json::parse(KeyText()); }
  fs::path GenerationDir() { return CacheDir() / Key().at("cache_directory").get<std::string>(); }
  std::vector<fs::path> Generations() {
    return {fs::directory_iterator(CacheDir() / "generations"), fs::directory_iterator()};
  }
  RecordFile Records(const fs::path& folder, bool flags) {
    return ParseRecords(
        ReadFile(folder / (flags ? "cached_bitfields.cache" : "cached_offsets.cache")),
        flags ? 32 : 8);
  }
  // Every name the game knows now is in its file once, and no other name is.
  void ExpectHoldsWhatTheGameKnows(const fs::path& folder) {
    const RecordFile files[] = {Records(folder, false), Records(folder, true)};
    std::size_t known[2] = {};
    for (const host::GameName* name : host::kGameNames) {
      const bool flag = name->kind == host::GameNameKind::Flag;
      const bool knows = Server().Lookup().Knows(name->name);
      EXPECT_EQ(files[flag].Values().count(name->name), knows ? 1u : 0u) << name->name;
      known[flag] += knows;
    }
    for (int flag : {0, 1}) {
      EXPECT_EQ(files[flag].refusal, "");
      EXPECT_EQ(files[flag].records.size(), known[flag]);
    }
  }
  // As the host writes it at its start.
  void ExpectFresh() {
    const std::string text = KeyText();
    std::smatch match;
    ASSERT_TRUE(std::regex_match(text, match, kKeyFile)) << text;
    EXPECT_EQ(match[1], match[3]) << "the folder is named after the executable hash";
    EXPECT_EQ(match[2], std::to_string(::getpid()));
    EXPECT_EQ(Generations(), std::vector<fs::path>{GenerationDir()});
    EXPECT_FALSE(fs::exists(CacheDir() / "cached_key.cache.tmp"));
    ExpectHoldsWhatTheGameKnows(GenerationDir());
  }
};

TEST_F(OffsetsCacheFiles, EachRecordHoldsTheGamesValueInHashOrder) {
  ExpectFresh();
  const auto offsets = Records(GenerationDir(), false);
  const auto flags = Records(GenerationDir(), true).Values();
  auto& game = Server().Lookup();
  std::vector<std::string> list_order, file_order;
  for (const host::GameName* name : host::kGameNames) {
    if (!game.Knows(name->name)) continue;
    if (name->kind == host::GameNameKind::Flag) {
      const std::string& value = flags.at(name->name);
      const auto flag = *game.FlagAddress(nullptr, name->name);
      EXPECT_EQ(LittleEndian(value, 0, 8), flag.word_address) << name->name;
      EXPECT_EQ(LittleEndian(value, 8, 4), flag.bit_position) << name->name;
      EXPECT_EQ(value.substr(12, 4).find('\0'), std::string::npos)
          << "undefined, non-zero padding: " << name->name;
      EXPECT_EQ(LittleEndian(value, 16, 8), 1u) << name->name;
      EXPECT_EQ(LittleEndian(value, 24, 8), 4u) << name->name;
      continue;
    }
    list_order.push_back(name->name);
    std::uintptr_t value = LittleEndian(offsets.Values().at(name->name), 0, 8);
    if (name->kind == host::GameNameKind::Field) {
      EXPECT_EQ(value, *game.FieldAddress(nullptr, name->name)) << name->name;
      continue;
    }
    void* function = game.FunctionAddress(name->name);  // from its module's base
    Dl_info info{};
    ASSERT_NE(dladdr(function, &info), 0) << name->name;
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(info.dli_fbase) + value,
              reinterpret_cast<std::uintptr_t>(function))
        << name->name;
  }
  for (const auto& [key, value] : offsets.records) file_order.push_back(key);
  EXPECT_NE(file_order, list_order);
}

// A game update before a load ("host forget <name>", "host know <name>"): a restart with a new
// generation, the old one deleted.
class GameUpdates : public OffsetsCacheFiles, public ::testing::WithParamInterface<std::string> {};

TEST_P(GameUpdates, BeforeALoadMakeANewGenerationAndDeleteTheOld) {
  const fs::path before = GenerationDir();
  ASSERT_EQ(Run("host " + GetParam()).back(), "ok");
  EXPECT_NE(GenerationDir(), before);
  EXPECT_FALSE(fs::exists(before));
  ExpectFresh();
  const auto [control, name] = sim::SplitFirst(GetParam());
  EXPECT_EQ(Server().Lookup().Knows(name), control == "know");
}

INSTANTIATE_TEST_SUITE_P(Sim, GameUpdates,
                         ::testing::Values("forget ACharacter.Mesh",
                                           "forget APrimalCharacter.bIsDead",
                                           "forget APrimalDinoCharacter.BeginPlay()",
                                           std::string("know ") +
                                               host::game_names::kOnUncryo.name));

TEST_F(OffsetsCacheFiles, WhileThePluginIsLoadedTheCacheStaysTheOneTheHostLoaded) {
  LoadPlugin();
  const std::string key = KeyText(), offsets = ReadFile(GenerationDir() / "cached_offsets.cache");
  for (const char* line :
       {"host forget UStruct.ChildProperties", "host know UStruct.ChildProperties",
        "host know APrimalDinoCharacter.OnUncryo(AShooterPlayerController*)"})
    Run(line);
  EXPECT_EQ(KeyText(), key);
  EXPECT_EQ(ReadFile(GenerationDir() / "cached_offsets.cache"), offsets);
  UnloadPlugin();
  Run("host forget UStruct.ChildProperties");
  EXPECT_NE(KeyText(), key);
  ExpectFresh();
}

// Each control rewrites the files, then breaks them in its one way.
struct ControlCase {
  std::string line;
  std::function<void(OffsetsCacheFiles&)> check;
};
void PrintTo(const ControlCase& c, std::ostream* os) {
  *os << c.line;
}
class CacheControls : public OffsetsCacheFiles,
                      public ::testing::WithParamInterface<ControlCase> {};

TEST_P(CacheControls, LeaveTheBytesTheyClaim) {
  ASSERT_EQ(Run(GetParam().line).back(), "ok");
  GetParam().check(*this);
}

std::vector<ControlCase> ControlCases() {
  const auto legacy = [](const std::string& key) {
    return [key](OffsetsCacheFiles& t) {
      EXPECT_EQ(t.KeyText(), key.empty() ? t.Key().dump() : key);
      if (key.empty()) {
        EXPECT_EQ(t.Key().at("cache_directory"), "");
      }
      EXPECT_FALSE(fs::exists(t.CacheDir() / "generations"));
      t.ExpectHoldsWhatTheGameKnows(t.CacheDir());
    };
  };
  const auto locked = [](const char* file, const char* other) {
    return [file, other](OffsetsCacheFiles& t) {
      EXPECT_EQ(WhyNot(t.GenerationDir() / file), "locked");
      EXPECT_NE(host::SimCacheOpener()((t.GenerationDir() / other).string(), nullptr), nullptr);
      t.ExpectHoldsWhatTheGameKnows(t.GenerationDir());
    };
  };
  std::vector<ControlCase> cases = {
      {"host cache fresh", [](OffsetsCacheFiles& t) { t.ExpectFresh(); }},
      {"host cache absent", [](OffsetsCacheFiles& t) { EXPECT_FALSE(fs::exists(t.CacheDir())); }},
      {"host cache legacy-hash",
       legacy(std::string(sim::HostOffsetsCache::kExecutableHash) + "\n")},
      {"host cache legacy-json", legacy("")},
      {"host cache version 2",
       [](OffsetsCacheFiles& t) {
         EXPECT_EQ(t.KeyText(), t.Key().dump());
         EXPECT_EQ(t.Key().at("version"), 2);
         t.ExpectHoldsWhatTheGameKnows(t.GenerationDir());
       }},
      {"host cache generation-gone",
       [](OffsetsCacheFiles& t) {
         EXPECT_TRUE(std::regex_match(t.KeyText(), kKeyFile));
         EXPECT_TRUE(t.Generations().empty());
       }},
      {"host cache lock offsets", locked("cached_offsets.cache", "cached_bitfields.cache")},
      {"host cache lock bitfields", locked("cached_bitfields.cache", "cached_offsets.cache")},
  };
  // A corrupt file fails its one check after every record of a whole file; the other is whole.
  for (const std::string defect :
       {"empty", "zero-key", "huge-key", "key-past-end", "short-value", "trailing", "repeat"})
    for (const bool flags : {false, true})
      cases.push_back({"host cache corrupt " + defect + (flags ? " bitfields" : " offsets"),
                       [defect, flags](OffsetsCacheFiles& t) {
                         const auto broken = t.Records(t.GenerationDir(), flags);
                         EXPECT_EQ(broken.refusal, defect);
                         EXPECT_EQ(t.Records(t.GenerationDir(), !flags).refusal, "");
                         const auto held = t.Server().Lookup().Held(false);
                         const std::size_t names =
                             flags ? held.flags.size() : held.fields.size() + held.functions.size();
                         EXPECT_EQ(broken.records.size(), defect == "empty" ? 0u : names);
                       }});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Sim, CacheControls, ::testing::ValuesIn(ControlCases()));

TEST_F(OffsetsCacheFiles, AStaleCacheClaimsAForgottenNameThatStopsTheServerWhenAskedFor) {
  for (const char* forget : {"", "host forget AActor.NoSuchField"}) {
    Run(forget);
    EXPECT_EQ(Run("host cache stale").back(),
              "error the game lacks no forgotten name: host forget <game name> first");
  }
  Run("host forget ACharacter.Mesh");
  ASSERT_EQ(Run("host cache stale").back(), "ok");
  EXPECT_EQ(Records(GenerationDir(), false).refusal, "");
  EXPECT_EQ(Records(GenerationDir(), false).Values().count("ACharacter.Mesh"), 1u);
  EXPECT_SERVER_ENDS(simhost::GetAddress(Server().GameWorld().World(), "ACharacter.Mesh"),
                     "Failed to get the offset of 'ACharacter.Mesh'.");
}

TEST_F(OffsetsCacheFiles, BadControlsAreRefusedWithTheirUsage) {
  for (const char* line : {"host cache", "host cache lock keys", "host cache corrupt empty",
                           "host cache corrupt bad offsets", "host cache fresh now"})
    EXPECT_EQ(Run(line).back(), "error usage: " SIM_HOST_CACHE_USAGE) << line;
  EXPECT_EQ(Run("host cache version two").back(), "error not an id: 'two'");
}

TEST_F(OffsetsCacheFiles, TheOpenerReadsWholeFilesAndSaysWhyItCannot) {
  EXPECT_EQ(WhyNot(CacheDir() / "no_such.cache"), "not found");
  EXPECT_EQ(WhyNot(CacheDir() / "generations"), "unreadable");
  auto file = host::SimCacheOpener()((CacheDir() / "cached_key.cache").string(), nullptr);
  ASSERT_NE(file, nullptr);
  std::string read;
  char chunk[5];
  for (std::int64_t got; (got = file->Read(chunk, sizeof chunk)) > 0;) read.append(chunk, got);
  EXPECT_EQ(read, KeyText());
  EXPECT_EQ(file->Read(chunk, sizeof chunk), 0);
  // A program that links the plugin's code is in no plugin folder: the host's own cache.
  EXPECT_EQ(fs::path(host::binding::OffsetsCacheFolder()), CacheDir());
}

TEST(CacheFolder, IsBesideThePluginsFolderOfTheModuleElseTheServersOwn) {
  const std::string own = "/srv/Win64/ArkApi/Cache";
  const std::pair<std::string, std::string> cases[] = {
      {"/srv/Win64/ArkApi/Plugins/Tinyhorde/Tinyhorde.so", "/srv/Win64/ArkApi/Cache"},
      {"D:/ark/Win64/ArkApi/Plugins/Tinyhorde/Tinyhorde.dll", "D:/ark/Win64/ArkApi/Cache"},
      {"rel/ArkApi/Plugins/Tinyhorde/Tinyhorde.so", "rel/ArkApi/Cache"},
      {"/other/ArkApi/Plugins/./Tinyhorde/Tinyhorde.so", "/other/ArkApi/Cache"},
      {"/srv/Win64/ArkApi/Plugins/Tinyhorde.so", own},
      {"/srv/Win64/ArkApi/Plugins/Tinyhorde/", own},
      {"/usr/lib/tests/sim_core_test", own},
      {"", own},
  };
  for (const auto& [module, folder] : cases)
    EXPECT_EQ(host::binding::OffsetsCacheFolderOf(module, "/srv/Win64"), folder) << module;
}

}  // namespace
