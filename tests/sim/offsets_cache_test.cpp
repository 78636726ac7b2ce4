// The offsets cache reader over hand-made caches in a temporary folder: what a valid cache
// answers, every reason a cache is not trusted, and every check on a record file, each read
// through a plain file stream in whole reads and in reads of a few bytes.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/shared/offsets_cache.h"

namespace host::offsets_cache {

void PrintTo(Presence presence, std::ostream* out) {
  *out << (presence == Presence::Present  ? "Present"
           : presence == Presence::Absent ? "Absent"
                                          : "Unknown");
}

}  // namespace host::offsets_cache

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using host::offsets_cache::File;
using host::offsets_cache::Opener;
using host::offsets_cache::Presence;
using host::offsets_cache::Query;
using host::offsets_cache::ReadOffsetsCacheWithRecordLimit;
using host::offsets_cache::Result;
constexpr Presence kUnknown = Presence::Unknown, kPresent = Presence::Present,
                   kAbsent = Presence::Absent;

const std::string kHash(64, 'a');
const std::string kGeneration = kHash + "-4242-123456-0";
const std::string kKeyFile = R"({"cache_directory":"generations/)" + kGeneration +
                             R"(","executable_hash":")" + kHash +
                             R"(","last_modified":"x","version":1})";

// Two fields, a function and two flags; the last repeats the first flag.
const std::vector<Query> kQueries = {{"Dino.Scale"},           {"Dino.Mesh"},
                                     {"Dino.Tame(int,float)"}, {"Dino.bBaby", true},
                                     {"Dino.bWild", true},     {"Dino.bBaby", true}};

std::string Record(const std::string& key, std::size_t value_size, std::uint64_t length) {
  std::string bytes;
  for (int i = 0; i < 8; ++i) bytes += static_cast<char>((length >> (8 * i)) & 0xff);
  return bytes + key + std::string(value_size, '\x5a');
}
std::string Records(const std::vector<std::string>& keys, std::size_t value_size) {
  std::string bytes;
  for (const auto& key : keys) bytes += Record(key, value_size, key.size());
  return bytes;
}
std::string Offsets(const std::vector<std::string>& keys) {
  return Records(keys, 8);
}
std::string BitFields(const std::vector<std::string>& keys) {
  return Records(keys, 32);
}

const std::string kAllOffsets =
    Offsets({"Other.X", "Dino.Scale", "Dino.Mesh", "Dino.Tame(int,float)"});
const std::string kAllBitFields = BitFields({"Dino.bWild", "Dino.bBaby", "Other.bY"});

// A cache folder's files; a file held as nullopt is not written.
struct Cache {
  std::optional<std::string> key = kKeyFile;
  std::optional<std::string> offsets = kAllOffsets;
  std::optional<std::string> bit_fields = kAllBitFields;
  std::string directory = "generations/" + kGeneration;
};

// Reads with a std::ifstream, at most chunk bytes a read, failing once fail_after bytes were
// read from all the files it opened; "locked" answered for a file of that name.
Opener StreamOpener(std::size_t chunk, std::uint64_t fail_after = UINT64_MAX,
                    std::string locked = {}) {
  struct StreamFile : File {
    std::ifstream in;
    std::size_t chunk;
    std::shared_ptr<std::uint64_t> left;
    std::int64_t Read(void* buffer, std::size_t size) override {
      if (*left == 0) return -1;
      in.read(static_cast<char*>(buffer), static_cast<std::streamsize>(std::min(size, chunk)));
      const auto got = static_cast<std::uint64_t>(in.gcount());
      if (in.bad()) return -1;
      *left -= std::min(*left, got);
      return static_cast<std::int64_t>(got);
    }
  };
  auto left = std::make_shared<std::uint64_t>(fail_after);
  return [=](const std::string& path, std::string* why_not) -> std::unique_ptr<File> {
    if (!locked.empty() && fs::path(path).filename() == locked) {
      *why_not = "locked";
      return nullptr;
    }
    auto file = std::make_unique<StreamFile>();
    file->in.open(path, std::ios::binary);
    file->chunk = chunk;
    file->left = left;
    if (file->in.is_open()) return file;
    *why_not = fs::exists(path) ? "unreadable" : "not found";
    return nullptr;
  };
}

class OffsetsCacheTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "offsets-cache-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }

  void Write(const Cache& cache) {
    fs::remove_all(folder_);
    const fs::path generation = folder_ / cache.directory;
    fs::create_directories(generation);
    const auto put = [](const fs::path& path, const std::optional<std::string>& bytes) {
      if (bytes) std::ofstream(path, std::ios::binary) << *bytes;
    };
    put(folder_ / "cached_key.cache", cache.key);
    put(generation / "cached_offsets.cache", cache.offsets);
    put(generation / "cached_bitfields.cache", cache.bit_fields);
  }

  Result Read(const Opener& open, std::uint64_t max_records = 5'000'000) {
    return ReadOffsetsCacheWithRecordLimit(folder_.string(), kQueries, open, max_records);
  }

  fs::path folder_;
};

// Whole reads, one byte a read, and five.
const std::size_t kChunks[] = {SIZE_MAX, 1, 5};

TEST_F(OffsetsCacheTest, ValidCachesAnswerEveryNameFromItsOwnFile) {
  std::string upper_hash = kGeneration;
  for (char& c : upper_hash) c = static_cast<char>(toupper(c));
  const std::string spaced_key =
      "{\n  \"version\" : 1 ,\n  \"extra\": [1, {\"a\": null}],\n"
      "  \"cache_directory\" :\t\"generations/" +
      kGeneration + "\"\n}\n";
  const std::string long_key(1024 * 1024, 'k');
  struct Row {
    const char* what;
    Cache cache;
    std::vector<Presence> expected;
  };
  const Row rows[] = {
      {"all present", {}, {kPresent, kPresent, kPresent, kPresent, kPresent, kPresent}},
      {"some absent",
       {.offsets = Offsets({"Dino.Scale", "Dino.Tame(int,float)"}),
        .bit_fields = BitFields({"Dino.bWild"})},
       {kPresent, kAbsent, kPresent, kAbsent, kPresent, kAbsent}},
      {"each name looked for in its own file only",
       {.offsets = Offsets({"Dino.bBaby", "Dino.bWild", "Dino.Scale"}),
        .bit_fields = BitFields({"Dino.Mesh", "Dino.Tame(int,float)", "Dino.bBaby"})},
       {kPresent, kAbsent, kAbsent, kPresent, kAbsent, kPresent}},
      {"exact, case-sensitive keys",
       {.offsets = Offsets({"dino.scale", "Dino.Scal", "Dino.Scale ", "Dino.Mesh\0"s,
                            "Dino.Tame(int, float)", "Dino.Mesh"}),
        .bit_fields = BitFields({"Dino.bBaby2", "Dino.bWild"})},
       {kAbsent, kPresent, kAbsent, kAbsent, kPresent, kAbsent}},
      {"keys of 1 MiB and a repeat of a name not asked for",
       {.offsets = Offsets({long_key, "Other.X", long_key, "Other.X", "Dino.Scale"})},
       {kPresent, kAbsent, kAbsent, kPresent, kPresent, kPresent}},
      {"an uppercase hash",
       {.key = R"({"version":1,"cache_directory":"generations/)" + upper_hash + "\"}",
        .directory = "generations/" + upper_hash},
       {kPresent, kPresent, kPresent, kPresent, kPresent, kPresent}},
      {"another field order, spacing and extra keys",
       {.key = spaced_key},
       {kPresent, kPresent, kPresent, kPresent, kPresent, kPresent}},
  };
  for (const Row& row : rows) {
    Write(row.cache);
    for (const std::size_t chunk : kChunks) {
      const Result result = Read(StreamOpener(chunk));
      EXPECT_EQ(result.presence, row.expected) << row.what << ", chunk " << chunk;
      EXPECT_EQ(result.unknown_reason, "") << row.what << ", chunk " << chunk;
      EXPECT_EQ(result.generation, row.cache.directory.substr(12)) << row.what;
    }
  }
}

TEST_F(OffsetsCacheTest, AnUntrustedKeyFileLeavesEveryNameUnknownWithItsReason) {
  const auto key = [](const std::string& directory) {
    return R"({"version":1,"cache_directory":)" + directory + "}";
  };
  struct Row {
    Cache cache;
    std::string reason;
    Opener open = StreamOpener(SIZE_MAX);
  };
  const Row rows[] = {
      {{.key = std::nullopt}, "no cached_key.cache"},
      {{}, "cached_key.cache locked", StreamOpener(SIZE_MAX, UINT64_MAX, "cached_key.cache")},
      {{}, "cached_key.cache unreadable", StreamOpener(16, 16)},
      {{.key = ""}, "cached_key.cache is not JSON"},
      {{.key = kKeyFile.substr(1)}, "cached_key.cache is not JSON"},
      {{.key = "[1]"}, "cached_key.cache is not a JSON object"},
      {{.key = R"({"version":1,"cache_directory":")" + std::string(70000, 'x') + "\"}"},
       "cached_key.cache is too large"},
      {{.key = R"({"cache_directory":"generations/)" + kGeneration + "\"}"}, "no cache version"},
      {{.key = R"({"version":2,"cache_directory":"generations/)" + kGeneration + "\"}"},
       "cache version 2"},
      {{.key = R"({"version":"1","cache_directory":"generations/)" + kGeneration + "\"}"},
       "cache version \"1\""},
      {{.key = kHash + "\n"}, "legacy cache layout"},
      {{.key = "0123456789ABCDEF" + std::string(48, '0')}, "legacy cache layout"},
      {{.key = key("\"\"")}, "legacy cache layout"},
      {{.key = R"({"version":1})"}, "no cache_directory in cached_key.cache"},
      {{.key = key("7")}, "cache_directory 7 is not text"},
      {{.key = key("\"generations/abc-1-2-3\"")},
       "cache_directory \"generations/abc-1-2-3\" is not a generation folder"},
      {{.key = key("\"generations/g" + kHash.substr(1) + "-1-2-3\"")},
       "cache_directory \"generations/g" + kHash.substr(1) + "-1-2-3\" is not a generation folder"},
      {{.key = key("\"generations/" + kHash + "-1-2\"")},
       "cache_directory \"generations/" + kHash + "-1-2\" is not a generation folder"},
      {{.key = key("\"generations/" + kHash + "-1-2-x\"")},
       "cache_directory \"generations/" + kHash + "-1-2-x\" is not a generation folder"},
      {{.key = key("\"generations/" + kHash + "-1--3\"")},
       "cache_directory \"generations/" + kHash + "-1--3\" is not a generation folder"},
      {{.key = key("\"generations/" + kGeneration + "/..\"")},
       "cache_directory \"generations/" + kGeneration + "/..\" is not a generation folder"},
      {{.key = key("\"../" + kGeneration + "\"")},
       "cache_directory \"../" + kGeneration + "\" is not a generation folder"},
      {{.key = key("\"generations\\\\" + kGeneration + "\"")},
       "cache_directory \"generations\\\\" + kGeneration + "\" is not a generation folder"},
      {{.key = key("\"" + kGeneration + "\"")},
       "cache_directory \"" + kGeneration + "\" is not a generation folder"},
  };
  for (const Row& row : rows) {
    Write(row.cache);
    const Result result = Read(row.open);
    EXPECT_EQ(result.presence, std::vector<Presence>(kQueries.size(), kUnknown)) << row.reason;
    EXPECT_EQ(result.unknown_reason, row.reason);
    EXPECT_EQ(result.generation, "") << row.reason;
  }
}

// Each check on one file, made to fail on the offsets file, then on the bit-field file: the
// other file's names are still answered.
TEST_F(OffsetsCacheTest, ARecordFileFailingACheckLeavesOnlyItsNamesUnknown) {
  const std::string good = Offsets({"Dino.Scale"});         // 26 bytes
  const std::string good_flag = BitFields({"Dino.bBaby"});  // 50 bytes
  struct Row {
    const char* what;
    std::string offsets, bit_fields;  // the failing file's bytes
    std::string check;                // the reason after the file's name
    std::uint64_t max_records = 5'000'000;
  };
  const Row rows[] = {
      {"empty", "", "", " is empty"},
      {"zero-length key", good + Record("", 8, 0), good_flag + Record("", 32, 0),
       ": zero-length key at byte 26|: zero-length key at byte 50"},
      {"key over 1 MiB", good + Record("x", 8, 1024 * 1024 + 1),
       good_flag + Record("x", 32, 1024 * 1024 + 1),
       ": key over 1 MiB at byte 26|: key over 1 MiB at byte 50"},
      {"key past the end", good + Record("Dino.Mesh", 0, 20),
       good_flag + Record("Dino.bWild", 0, 11),
       ": key past the end of the file at byte 34|: key past the end of the file at byte 58"},
      {"truncated value", good + Record("Dino.Mesh", 7, 9),
       good_flag + Record("Dino.bWild", 31, 10),
       ": truncated value at byte 43|: truncated value at byte 68"},
      {"values of the other file's size", Records({"Dino.Scale"}, 32),
       Records({"Dino.bBaby", "Dino.bWild"}, 8),
       ": key over 1 MiB at byte 26|: trailing bytes at byte 50"},
      {"trailing bytes", good + "\x01\x02\x03", good_flag + "\x01",
       ": trailing bytes at byte 26|: trailing bytes at byte 50"},
      {"a name of ours repeated", good + Offsets({"Other.X", "Dino.Scale"}),
       good_flag + BitFields({"Dino.bBaby"}),
       ": repeated key Dino.Scale at byte 49|: repeated key Dino.bBaby at byte 50"},
      {"one record more than the limit", Offsets({"A", "B", "Dino.Scale", "C", "D"}),
       BitFields({"A", "B", "Dino.bBaby", "C", "D"}),
       ": more than 4 records at byte 77|: more than 4 records at byte 173", 4},
  };
  for (const Row& row : rows) {
    const std::string check = row.check.substr(0, row.check.find('|'));
    const std::string flag_check = row.check.substr(row.check.find('|') + 1);
    for (const std::size_t chunk : kChunks) {
      Write({.offsets = row.offsets});
      Result result = Read(StreamOpener(chunk), row.max_records);
      EXPECT_EQ(result.presence,
                (std::vector{kUnknown, kUnknown, kUnknown, kPresent, kPresent, kPresent}))
          << row.what;
      EXPECT_EQ(result.unknown_reason, "cached_offsets.cache" + check) << row.what;

      Write({.bit_fields = row.bit_fields});
      result = Read(StreamOpener(chunk), row.max_records);
      EXPECT_EQ(result.presence,
                (std::vector{kPresent, kPresent, kPresent, kUnknown, kUnknown, kUnknown}))
          << row.what;
      EXPECT_EQ(result.unknown_reason,
                "cached_bitfields.cache" +
                    (row.check.find('|') == std::string::npos ? check : flag_check))
          << row.what;
    }
  }
  // At the limit itself, the file is whole.
  Write({.offsets = Offsets({"A", "B", "Dino.Scale"})});
  EXPECT_EQ(Read(StreamOpener(SIZE_MAX), 3).presence,
            (std::vector{kPresent, kAbsent, kAbsent, kPresent, kPresent, kPresent}));
}

TEST_F(OffsetsCacheTest, AFileThatCannotBeReadLeavesItsNamesUnknown) {
  struct Row {
    Cache cache;
    Opener open;
    std::string reason;
    std::vector<Presence> expected;
  };
  const std::vector<Presence> offsets_unknown = {kUnknown, kUnknown, kUnknown,
                                                 kPresent, kPresent, kPresent};
  const Row rows[] = {
      {{.offsets = std::nullopt},
       StreamOpener(SIZE_MAX),
       "cached_offsets.cache not found",
       offsets_unknown},
      {{.bit_fields = std::nullopt},
       StreamOpener(SIZE_MAX),
       "cached_bitfields.cache not found",
       {kPresent, kPresent, kPresent, kUnknown, kUnknown, kUnknown}},
      {{.offsets = std::nullopt, .bit_fields = std::nullopt},
       StreamOpener(SIZE_MAX),
       "cached_offsets.cache not found",
       std::vector<Presence>(6, kUnknown)},
      {{},
       StreamOpener(SIZE_MAX, UINT64_MAX, "cached_offsets.cache"),
       "cached_offsets.cache locked",
       offsets_unknown},
      // The key file is read whole first; the offsets file then fails after 30 bytes.
      {{},
       StreamOpener(10, kKeyFile.size() + 30),
       "cached_offsets.cache: read failed at byte 30",
       std::vector<Presence>(6, kUnknown)},
      {{},
       [](const std::string&, std::string*) -> std::unique_ptr<File> {
         throw std::runtime_error("opener failed");
       },
       "reading the cache failed",
       std::vector<Presence>(6, kUnknown)},
  };
  for (const Row& row : rows) {
    Write(row.cache);
    const Result result = Read(row.open);
    EXPECT_EQ(result.presence, row.expected) << row.reason;
    EXPECT_EQ(result.unknown_reason, row.reason);
  }
}

}  // namespace
