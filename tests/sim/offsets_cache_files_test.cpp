// The offsets cache the simulated host keeps on disk, read here with a parser of the test's own
// (the host's record format and checks): what the server writes at its start, how a game update
// before a plugin load rewrites it, the bytes each "host cache" control leaves, and the simulated
// binding's opener and cache folder.
#include <dlfcn.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/game_names.h"
#include "host/sim/offsets_cache_file.h"
#include "sim/host_api.h"
#include "support/sim_fixture.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kOffsetSize = 8;
constexpr std::size_t kBitFieldSize = 32;

std::uint64_t LittleEndian(const std::string& bytes, std::size_t at, int size) {
  std::uint64_t value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

// A record file as the host's checks read it: its records in file order, and the first check it
// fails (named as the "host cache corrupt" words), or "" when the host accepts it.
struct RecordFile {
  std::vector<std::pair<std::string, std::string>> records;  // key, value bytes
  std::string refusal;
  std::map<std::string, std::string> Values() const { return {records.begin(), records.end()}; }
};

RecordFile ParseRecords(const std::string& bytes, std::size_t value_size) {
  RecordFile file;
  std::set<std::string> keys;
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
    if (length == 0) {
      file.refusal = "zero-key";
    } else if (length > 1024 * 1024) {
      file.refusal = "huge-key";
    } else if (length > left()) {
      file.refusal = "key-past-end";
    } else if (left() - length < value_size) {
      file.refusal = "short-value";
    } else {
      std::string key = bytes.substr(at, length);
      at += length;
      if (!keys.insert(key).second) {
        file.refusal = "repeat";
        break;
      }
      file.records.emplace_back(std::move(key), bytes.substr(at, value_size));
      at += value_size;
    }
  }
  return file;
}

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const std::regex kKeyFile(
    R"re(\{"cache_directory":"generations/([0-9a-f]{64})-([0-9]+)-([0-9]+)-([0-9]+)",)re"
    R"re("executable_hash":"([0-9a-f]{64})","last_modified":"[^"]+","version":1\})re");

class OffsetsCacheFiles : public simtest::SimFixture {
 protected:
  fs::path CacheDir() { return Win64Dir() / "ArkApi/Cache"; }
  std::string KeyText() { return ReadFile(CacheDir() / "cached_key.cache"); }
  nlohmann::json Key() { return nlohmann::json::parse(KeyText()); }
  fs::path GenerationDir() { return CacheDir() / Key().at("cache_directory").get<std::string>(); }
  std::vector<fs::path> Generations() {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(CacheDir() / "generations"))
      found.push_back(entry.path());
    return found;
  }
  RecordFile Offsets(const fs::path& folder) {
    return ParseRecords(ReadFile(folder / "cached_offsets.cache"), kOffsetSize);
  }
  RecordFile BitFields(const fs::path& folder) {
    return ParseRecords(ReadFile(folder / "cached_bitfields.cache"), kBitFieldSize);
  }
  // Every name the game knows now is in its file exactly once, and no other name is.
  void ExpectHoldsWhatTheGameKnows(const fs::path& folder) {
    const RecordFile offsets = Offsets(folder), bitfields = BitFields(folder);
    EXPECT_EQ(offsets.refusal, "");
    EXPECT_EQ(bitfields.refusal, "");
    std::size_t known_offsets = 0, known_flags = 0;
    for (const host::GameName* name : host::kGameNames) {
      const bool flag = name->kind == host::GameNameKind::Flag;
      const auto values = (flag ? bitfields : offsets).Values();
      const bool known = Server().Lookup().Knows(name->name);
      EXPECT_EQ(values.count(name->name), known ? 1u : 0u) << name->name;
      (flag ? known_flags : known_offsets) += known ? 1 : 0;
    }
    EXPECT_EQ(offsets.records.size(), known_offsets);
    EXPECT_EQ(bitfields.records.size(), known_flags);
  }
};

TEST_F(OffsetsCacheFiles, TheKeyFileIsCompactSortedJsonNamingOneGenerationAsTheHostNamesIt) {
  const std::string text = KeyText();
  std::smatch match;
  ASSERT_TRUE(std::regex_match(text, match, kKeyFile)) << text;
  EXPECT_EQ(match[1], match[5]) << "the folder is named after the executable hash";
  EXPECT_EQ(match[2], std::to_string(::getpid()));
  EXPECT_EQ(Generations(), std::vector<fs::path>{GenerationDir()});
  EXPECT_FALSE(fs::exists(CacheDir() / "cached_key.cache.tmp"));
  ExpectHoldsWhatTheGameKnows(GenerationDir());
}

TEST_F(OffsetsCacheFiles, EachRecordHoldsTheGamesValueInHashOrder) {
  const auto offsets = Offsets(GenerationDir());
  const auto offset_values = offsets.Values();
  const auto bitfields = BitFields(GenerationDir()).Values();
  EXPECT_EQ(bitfields.size(), 4u);
  EXPECT_EQ(offset_values.count(host::game_names::kOnUncryo.name), 0u)
      << "the game lacks a marked name by default";
  auto& game = Server().Lookup();
  std::vector<std::string> list_order;
  for (const host::GameName* name : host::kGameNames) {
    if (!game.Knows(name->name)) continue;
    if (name->kind == host::GameNameKind::Flag) {
      const std::string& value = bitfields.at(name->name);
      const auto flag = *game.FlagAddress(nullptr, name->name);
      EXPECT_EQ(LittleEndian(value, 0, 8), flag.word_address) << name->name;
      EXPECT_EQ(LittleEndian(value, 8, 4), flag.bit_position) << name->name;
      for (std::size_t i = 12; i < 16; ++i)
        EXPECT_NE(value[i], '\0') << "padding of " << name->name;
      EXPECT_EQ(LittleEndian(value, 16, 8), 1u) << name->name;
      EXPECT_EQ(LittleEndian(value, 24, 8), 4u) << name->name;
      continue;
    }
    list_order.push_back(name->name);
    const std::uint64_t value = LittleEndian(offset_values.at(name->name), 0, 8);
    if (name->kind == host::GameNameKind::Field) {
      EXPECT_EQ(value, *game.FieldAddress(nullptr, name->name)) << name->name;
    } else {
      // Functions from their module's base.
      void* address = game.FunctionAddress(name->name);
      Dl_info info{};
      ASSERT_NE(dladdr(address, &info), 0) << name->name;
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(info.dli_fbase) + value,
                reinterpret_cast<std::uintptr_t>(address))
          << name->name;
    }
  }
  std::vector<std::string> file_order;
  for (const auto& [key, value] : offsets.records) file_order.push_back(key);
  EXPECT_NE(file_order, list_order);
  std::sort(file_order.begin(), file_order.end());
  std::sort(list_order.begin(), list_order.end());
  EXPECT_EQ(file_order, list_order);
}

// A game update before the plugin loads: the host restarts with a new generation, the old one
// deleted.
struct UpdateCase {
  const char* line;
  const char* name;
  bool has_it;
};

class GameUpdates : public OffsetsCacheFiles, public ::testing::WithParamInterface<UpdateCase> {};

TEST_P(GameUpdates, BeforeALoadMakeANewGenerationAndDeleteTheOld) {
  const fs::path before = GenerationDir();
  ASSERT_EQ(Run(GetParam().line).back(), "ok");
  const fs::path after = GenerationDir();
  EXPECT_NE(after, before);
  EXPECT_FALSE(fs::exists(before));
  EXPECT_EQ(Generations(), std::vector<fs::path>{after});
  const auto n = [](const fs::path& folder) {
    const std::string name = folder.filename().string();
    return std::stoul(name.substr(name.rfind('-') + 1));
  };
  EXPECT_GT(n(after), n(before));
  ExpectHoldsWhatTheGameKnows(after);
  const bool flag = host::FindGameName(GetParam().name)->kind == host::GameNameKind::Flag;
  EXPECT_EQ((flag ? BitFields(after) : Offsets(after)).Values().count(GetParam().name),
            GetParam().has_it ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Sim, GameUpdates,
    ::testing::Values(
        UpdateCase{"host forget ACharacter.Mesh", "ACharacter.Mesh", false},
        UpdateCase{"host forget APrimalCharacter.bIsDead", "APrimalCharacter.bIsDead", false},
        UpdateCase{"host forget FMemory.Free(void*)", "FMemory.Free(void*)", false},
        UpdateCase{"host forget APrimalDinoCharacter.BeginPlay()",
                   "APrimalDinoCharacter.BeginPlay()", false},
        UpdateCase{"host know APrimalDinoCharacter.OnUncryo(AShooterPlayerController*)",
                   "APrimalDinoCharacter.OnUncryo(AShooterPlayerController*)", true}));

TEST_F(OffsetsCacheFiles, WhileThePluginIsLoadedTheCacheStaysTheOneTheHostLoaded) {
  LoadPlugin();
  const std::string key = KeyText();
  const std::string offsets = ReadFile(GenerationDir() / "cached_offsets.cache");
  Run("host forget UStruct.ChildProperties");
  Run("host know UStruct.ChildProperties");
  Run(std::string("host know ") + host::game_names::kOnUncryo.name);
  EXPECT_EQ(KeyText(), key);
  EXPECT_EQ(ReadFile(GenerationDir() / "cached_offsets.cache"), offsets);
  UnloadPlugin();
  Run("host forget UStruct.ChildProperties");
  EXPECT_NE(KeyText(), key);
  EXPECT_EQ(Offsets(GenerationDir()).Values().count("UStruct.ChildProperties"), 0u);
}

std::string WhyNot(const fs::path& file) {
  std::string why;
  EXPECT_EQ(host::SimCacheOpener()(file.string(), &why), nullptr) << file;
  return why;
}

// Each control rewrites the files, then breaks them in its one way.
class CacheControls;
struct ControlCase {
  std::string line;
  std::function<void(CacheControls&)> check;
};

class CacheControls : public OffsetsCacheFiles, public ::testing::WithParamInterface<ControlCase> {
 public:
  using OffsetsCacheFiles::BitFields;
  using OffsetsCacheFiles::CacheDir;
  using OffsetsCacheFiles::ExpectHoldsWhatTheGameKnows;
  using OffsetsCacheFiles::GenerationDir;
  using OffsetsCacheFiles::Generations;
  using OffsetsCacheFiles::Key;
  using OffsetsCacheFiles::KeyText;
  using OffsetsCacheFiles::Offsets;
  using OffsetsCacheFiles::Server;
};

void PrintTo(const ControlCase& c, std::ostream* os) {
  *os << c.line;
}

TEST_P(CacheControls, LeaveTheBytesTheyClaim) {
  ASSERT_EQ(Run(GetParam().line).back(), "ok");
  GetParam().check(*this);
}

void ExpectLegacy(CacheControls& t) {
  EXPECT_FALSE(fs::exists(t.CacheDir() / "generations"));
  t.ExpectHoldsWhatTheGameKnows(t.CacheDir());
}

void ExpectLocked(CacheControls& t, const char* locked, const char* open) {
  EXPECT_EQ(WhyNot(t.GenerationDir() / locked), "locked");
  EXPECT_NE(host::SimCacheOpener()((t.GenerationDir() / open).string(), nullptr), nullptr);
  t.ExpectHoldsWhatTheGameKnows(t.GenerationDir());
}

std::vector<ControlCase> ControlCases() {
  std::vector<ControlCase> cases = {
      {"host cache absent", [](CacheControls& t) { EXPECT_FALSE(fs::exists(t.CacheDir())); }},
      {"host cache legacy-hash",
       [](CacheControls& t) {
         EXPECT_EQ(t.KeyText(), std::string(sim::HostOffsetsCache::kExecutableHash) + "\n");
         ExpectLegacy(t);
       }},
      {"host cache legacy-json",
       [](CacheControls& t) {
         EXPECT_EQ(t.Key().at("cache_directory"), "");
         EXPECT_EQ(t.Key().dump(), t.KeyText());
         ExpectLegacy(t);
       }},
      {"host cache version 2",
       [](CacheControls& t) {
         EXPECT_EQ(t.Key().at("version"), 2);
         EXPECT_EQ(t.Key().dump(), t.KeyText());
         t.ExpectHoldsWhatTheGameKnows(t.GenerationDir());
       }},
      {"host cache generation-gone",
       [](CacheControls& t) {
         EXPECT_TRUE(std::regex_match(t.KeyText(), kKeyFile));
         EXPECT_FALSE(fs::exists(t.GenerationDir()));
         EXPECT_TRUE(t.Generations().empty());
       }},
      {"host cache lock offsets",
       [](CacheControls& t) { ExpectLocked(t, "cached_offsets.cache", "cached_bitfields.cache"); }},
      {"host cache lock bitfields",
       [](CacheControls& t) { ExpectLocked(t, "cached_bitfields.cache", "cached_offsets.cache"); }},
      {"host cache fresh",
       [](CacheControls& t) {
         EXPECT_TRUE(std::regex_match(t.KeyText(), kKeyFile));
         t.ExpectHoldsWhatTheGameKnows(t.GenerationDir());
       }},
  };
  for (const char* defect :
       {"empty", "zero-key", "huge-key", "key-past-end", "short-value", "trailing", "repeat"}) {
    for (const bool offsets : {true, false}) {
      cases.push_back(
          {std::string("host cache corrupt ") + defect + (offsets ? " offsets" : " bitfields"),
           [defect, offsets](CacheControls& t) {
             const auto broken =
                 offsets ? t.Offsets(t.GenerationDir()) : t.BitFields(t.GenerationDir());
             const auto whole =
                 offsets ? t.BitFields(t.GenerationDir()) : t.Offsets(t.GenerationDir());
             EXPECT_EQ(broken.refusal, defect);
             EXPECT_EQ(whole.refusal, "");
             // The defect comes after every record of a whole file.
             const auto held = t.Server().Lookup().Held(false);
             const std::size_t names =
                 offsets ? held.fields.size() + held.functions.size() : held.flags.size();
             EXPECT_EQ(broken.records.size(), std::string(defect) == "empty" ? 0u : names);
           }});
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Sim, CacheControls, ::testing::ValuesIn(ControlCases()));

TEST_F(OffsetsCacheFiles, AStaleCacheClaimsAForgottenNameThatStopsTheServerWhenAskedFor) {
  EXPECT_EQ(Run("host cache stale").back(),
            "error the game lacks no forgotten name: host forget <game name> first");
  Run("host forget ACharacter.Mesh");
  ASSERT_EQ(Run("host cache stale").back(), "ok");
  EXPECT_EQ(Offsets(GenerationDir()).Values().count("ACharacter.Mesh"), 1u);
  EXPECT_EQ(Offsets(GenerationDir()).refusal, "");
  EXPECT_SERVER_ENDS(simhost::GetAddress(Server().GameWorld().World(), "ACharacter.Mesh"),
                     "Failed to get the offset of 'ACharacter.Mesh'.");
}

TEST_F(OffsetsCacheFiles, BadControlsAreRefusedWithTheirUsage) {
  for (const char* line : {"host cache", "host cache lock keys", "host cache corrupt empty",
                           "host cache corrupt bad offsets", "host cache version two"}) {
    const std::string closing = Run(line).back();
    EXPECT_EQ(closing.rfind("error ", 0), 0u) << line;
  }
  EXPECT_EQ(Run("host cache").back(), "error usage: " SIM_HOST_CACHE_USAGE);
}

TEST_F(OffsetsCacheFiles, TheOpenerReadsWholeFilesAndSaysWhyItCannot) {
  EXPECT_EQ(WhyNot(CacheDir() / "no_such.cache"), "not found");
  EXPECT_EQ(WhyNot(CacheDir() / "generations"), "unreadable");
  const fs::path key = CacheDir() / "cached_key.cache";
  auto file = host::SimCacheOpener()(key.string(), nullptr);
  ASSERT_NE(file, nullptr);
  std::string read;
  char chunk[5];
  for (std::int64_t got; (got = file->Read(chunk, sizeof chunk)) > 0;)
    read.append(chunk, static_cast<std::size_t>(got));
  EXPECT_EQ(read, KeyText());
  EXPECT_EQ(file->Read(chunk, sizeof chunk), 0);
}

TEST(SimCacheFolder, IsBesideThePluginsFolderOfTheModule) {
  const std::pair<std::string, std::string> cases[] = {
      {"/srv/ark/ShooterGame/Binaries/Win64/ArkApi/Plugins/Tinyhorde/Tinyhorde.so",
       "/srv/ark/ShooterGame/Binaries/Win64/ArkApi/Cache"},
      {"rel/ArkApi/Plugins/Tinyhorde/Tinyhorde.so", "rel/ArkApi/Cache"},
      {"/srv/ark/ArkApi/Plugins/Tinyhorde.so", ""},
      {"/srv/ark/ArkApi/Plugins/Tinyhorde/", ""},
      {"/usr/lib/x86_64-linux-gnu/tests/sim_core_test", ""},
      {"", ""},
  };
  for (const auto& [module, folder] : cases) EXPECT_EQ(host::CacheFolderOfModule(module), folder);
}

TEST_F(OffsetsCacheFiles, AProgramLinkingThePluginCodeGetsTheHostsCacheFolder) {
  EXPECT_EQ(fs::path(host::SimCacheFolder()), CacheDir());
}

}  // namespace
