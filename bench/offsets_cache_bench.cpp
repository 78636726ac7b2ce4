// Reading the host's offsets cache at start-up, at the size the host itself refuses to go past:
// 5,000,000 records in a file. Every name of the plugin's list is looked for (and found) among
// filler keys of the same shape. The cache is written once into a temporary folder, removed
// when the program ends; each iteration is one whole read, from the page cache.
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <benchmark/benchmark.h>

#include "heap_counter.h"
#include "host/game_names.h"
#include "host/shared/offsets_cache.h"
#include "host/sim/offsets_cache_file.h"

namespace bench {

namespace {

namespace fs = std::filesystem;
using host::offsets_cache::Presence;
using host::offsets_cache::Query;

constexpr std::int64_t kLimit = 5'000'000;
const std::string kGeneration = std::string(64, 'c') + "-1234-5678901-0";

std::vector<Query> PluginQueries() {
  std::vector<Query> queries;
  for (const host::GameName* name : host::kGameNames)
    queries.push_back({name->name, name->kind == host::GameNameKind::Flag});
  return queries;
}

// Writes records records of value_size bytes: the given names spread evenly among filler keys
// shaped like the host's ("Class.Member" and "Class.Function(Types)").
bool WriteRecords(const fs::path& path, std::int64_t records, std::size_t value_size,
                  const std::vector<std::string_view>& names) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(path.c_str(), "wb"), std::fclose);
  if (!out) return false;
  const std::string value(value_size, '\x11');
  const std::int64_t spacing = records / static_cast<std::int64_t>(names.size() + 1);
  std::size_t next_name = 0;
  std::string buffer;
  char key[96];
  for (std::int64_t i = 0; i < records; ++i) {
    std::string_view name;
    if (next_name < names.size() && i == spacing * static_cast<std::int64_t>(next_name + 1)) {
      name = names[next_name++];
    } else {
      const int length =
          i % 3 == 0 ? std::snprintf(key, sizeof key, "UPrimalClass%05lld.Member%07lld",
                                     static_cast<long long>(i % 40000), static_cast<long long>(i))
                     : std::snprintf(key, sizeof key, "APrimalActor%04lld.Function%07lld(%s)",
                                     static_cast<long long>(i % 9000), static_cast<long long>(i),
                                     i % 3 == 1 ? "float,bool" : "AActor*");
      name = std::string_view(key, static_cast<std::size_t>(length));
    }
    for (int byte = 0; byte < 8; ++byte)
      buffer += static_cast<char>((static_cast<std::uint64_t>(name.size()) >> (8 * byte)) & 0xff);
    buffer += name;
    buffer += value;
    if (buffer.size() > (1 << 20)) {
      if (std::fwrite(buffer.data(), 1, buffer.size(), out.get()) != buffer.size()) return false;
      buffer.clear();
    }
  }
  return std::fwrite(buffer.data(), 1, buffer.size(), out.get()) == buffer.size() &&
         std::fflush(out.get()) == 0;
}

// A cache folder written once per size, removed at exit.
class CacheOnDisk {
 public:
  CacheOnDisk(std::int64_t offsets, std::int64_t bit_fields) {
    std::string pattern = (fs::temp_directory_path() / "tinyhorde-bench-cache-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    folder_ = pattern;
    const fs::path generation = folder_ / "generations" / kGeneration;
    std::error_code error;
    fs::create_directories(generation, error);
    std::vector<std::string_view> fields, flags;
    for (const Query& query : PluginQueries())
      (query.is_flag ? flags : fields).push_back(query.name);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> key(
        std::fopen((folder_ / "cached_key.cache").c_str(), "wb"), std::fclose);
    const std::string text = R"({"cache_directory":"generations/)" + kGeneration +
                             R"(","executable_hash":")" + std::string(64, 'c') +
                             R"(","last_modified":"1","version":1})";
    ready_ = key && std::fwrite(text.data(), 1, text.size(), key.get()) == text.size() &&
             WriteRecords(generation / "cached_offsets.cache", offsets, 8, fields) &&
             WriteRecords(generation / "cached_bitfields.cache", bit_fields, 32, flags);
  }
  ~CacheOnDisk() {
    std::error_code error;
    if (!folder_.empty()) fs::remove_all(folder_, error);
  }
  CacheOnDisk(const CacheOnDisk&) = delete;
  CacheOnDisk& operator=(const CacheOnDisk&) = delete;

  bool Ready() const { return ready_; }
  std::string Folder() const { return folder_.string(); }

 private:
  fs::path folder_;
  bool ready_ = false;
};

void BM_ReadOffsetsCache(benchmark::State& state, std::int64_t offsets, std::int64_t bit_fields) {
  static std::unique_ptr<CacheOnDisk> cache;
  cache = nullptr;  // one cache on disk at a time
  cache = std::make_unique<CacheOnDisk>(offsets, bit_fields);
  if (!cache->Ready()) {
    state.SkipWithError("the cache could not be written");
    return;
  }
  const std::vector<Query> queries = PluginQueries();
  const std::string folder = cache->Folder();
  // The simulated binding's opener: with no server running, nothing is held locked.
  const host::offsets_cache::Opener open = host::SimCacheOpener();
  benchmark::DoNotOptimize(host::offsets_cache::ReadOffsetsCache(folder, queries, open));
  const std::uint64_t heap_before = HeapAllocations();
  for (auto _ : state) {
    const auto result = host::offsets_cache::ReadOffsetsCache(folder, queries, open);
    if (!result.unknown_reason.empty() || std::count(result.presence.begin(), result.presence.end(),
                                                     Presence::Present) != std::ssize(queries)) {
      state.SkipWithError(("not every name found: " + result.unknown_reason).c_str());
      break;
    }
  }
  state.counters["heap_allocs"] = benchmark::Counter(
      static_cast<double>(HeapAllocations() - heap_before), benchmark::Counter::kAvgIterations);
  state.counters["records"] = static_cast<double>(offsets + bit_fields);
  state.counters["names"] = static_cast<double>(queries.size());
}

BENCHMARK_CAPTURE(BM_ReadOffsetsCache, offsets_at_limit, kLimit, 10'000)
    ->Name("StartUp/offsets cache read, 5,000,000 offsets + 10,000 bit-fields")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_ReadOffsetsCache, both_at_limit, kLimit, kLimit)
    ->Name("StartUp/offsets cache read, 5,000,000 offsets + 5,000,000 bit-fields")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

}  // namespace bench
