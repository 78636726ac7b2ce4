// The console's controls of the host's offsets cache: "host cache <control> ...".
#include <optional>
#include <stdexcept>
#include <string_view>

#include "sim/console_words.h"
#include "sim/offsets_cache.h"

namespace sim {

namespace {

struct DefectWord {
  std::string_view word;
  CacheDefect defect;
};
constexpr DefectWord kDefectWords[] = {
    {"empty", CacheDefect::Empty},
    {"zero-key", CacheDefect::ZeroLengthKey},
    {"huge-key", CacheDefect::OversizedKey},
    {"key-past-end", CacheDefect::KeyPastEnd},
    {"short-value", CacheDefect::TruncatedValue},
    {"trailing", CacheDefect::TrailingBytes},
    {"repeat", CacheDefect::RepeatedKey},
};

std::optional<CacheFile> ParseFile(const std::string& word) {
  if (word == "offsets") return CacheFile::Offsets;
  if (word == "bitfields") return CacheFile::BitFields;
  return std::nullopt;
}

std::optional<CacheDefect> ParseDefect(const std::string& word) {
  for (const DefectWord& entry : kDefectWords)
    if (entry.word == word) return entry.defect;
  return std::nullopt;
}

}  // namespace

void RunCacheControl(HostOffsetsCache& cache, const std::vector<std::string>& words) {
  const auto refuse = [] { throw std::runtime_error("usage: " SIM_HOST_CACHE_USAGE); };
  if (words.empty()) refuse();
  const std::string& control = words[0];
  const std::size_t count = words.size();
  if (count == 1 && control == "fresh") {
    cache.WriteGeneration();
  } else if (count == 1 && control == "absent") {
    cache.MakeAbsent();
  } else if (count == 1 && (control == "legacy-hash" || control == "legacy-json")) {
    cache.MakeLegacy(control == "legacy-hash");
  } else if (count == 2 && control == "version") {
    cache.SetVersion(ParseId(words[1]));
  } else if (count == 1 && control == "generation-gone") {
    cache.RemoveGeneration();
  } else if (count == 2 && control == "lock") {
    const auto file = ParseFile(words[1]);
    if (!file) refuse();
    cache.Lock(*file);
  } else if (count == 3 && control == "corrupt") {
    const auto defect = ParseDefect(words[1]);
    const auto file = ParseFile(words[2]);
    if (!defect || !file) refuse();
    cache.Corrupt(*file, *defect);
  } else if (count == 1 && control == "stale") {
    cache.MakeStale();
  } else {
    refuse();
  }
}

}  // namespace sim
