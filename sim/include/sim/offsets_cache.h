// The host's offsets cache on disk, kept as the real host keeps it under its
// "<exe folder>/ArkApi/Cache": every game name the host knows, in files a plugin can read before
// it asks the host for any name.
//
//   cached_key.cache   the key file, as the host's JSON library writes it (compact, keys sorted):
//                      {"cache_directory":"generations/<hash>-<pid>-<tick>-<n>",
//                       "executable_hash":"<64 hex>","last_modified":"<date>","version":1}
//   generations/<hash>-<pid>-<tick>-<n>/cached_offsets.cache    fields, functions and hooks
//   generations/<hash>-<pid>-<tick>-<n>/cached_bitfields.cache  one-bit flags
//
// A record file is a run of records to its end, in hash order: an 8-byte little-endian key
// length, the key's bytes, the value (an 8-byte signed offset: a field's in its object, a
// function's from its module's base; or the 32-byte BitField: word offset 8, bit position 4,
// 4 undefined bytes, bit count 8, length 8).
//
// WriteGeneration is what a host does when it starts: a new generation folder from what the game
// has now, the key file replaced atomically (a temporary file renamed over it), every other
// generation deleted. The other calls are test controls: each writes a fresh generation first,
// then breaks the cache in its one way, on disk.
//
// Game thread only. Failing file operations throw std::filesystem::filesystem_error or
// std::runtime_error.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

class Reflection;

enum class CacheFile { Offsets, BitFields };

// The ways a record file fails one of the host's checks. Each but Empty is added at the end of
// the file, after records that are valid.
enum class CacheDefect {
  Empty,           // no bytes at all
  ZeroLengthKey,   // a record whose key length is 0 (then a whole value)
  OversizedKey,    // a key length of 1 MiB + 1, and nothing after it
  KeyPastEnd,      // a key length of 64, and 10 bytes of key
  TruncatedValue,  // a whole key, then half its value
  TrailingBytes,   // 3 bytes after the last record
  RepeatedKey,     // the first record again
};

class HostOffsetsCache {
 public:
  // The executable hash of the simulated game build.
  static constexpr std::string_view kExecutableHash =
      "7c3f0a9e41d25b86e0f4a1c39d7b5e28f6a0c4d1e93b7f25a8c6e0d4b2f91a37";
  // Every flag's 4 bytes of padding, which the host leaves undefined.
  static constexpr std::uint8_t kPaddingByte = 0xCD;
  static constexpr std::uint64_t kMaxKeyLength = 1024 * 1024;

  // folder: the cache folder ("<exe folder>/ArkApi/Cache"); game: what the game has. Writes
  // nothing until asked.
  HostOffsetsCache(std::filesystem::path folder, const Reflection& game);

  // A new generation from every name the game knows now; the key file names it; every other
  // generation is deleted; no file is locked any more. With `claim_forgotten`, the generation
  // also lists the names `host forget` took away (a stale cache).
  void WriteGeneration(bool claim_forgotten = false);

  // Controls. Each starts with a fresh WriteGeneration.
  // No cache at all: the cache folder is gone.
  void MakeAbsent();
  // The layout of hosts before 2.00: both files straight in the cache folder, no generations,
  // and a key file holding the bare hash and a line feed (bare_hash), or JSON with an empty
  // cache_directory.
  void MakeLegacy(bool bare_hash);
  // The key file's version set to another number.
  void SetVersion(std::int64_t version);
  // The generation folder the key file names is gone.
  void RemoveGeneration();
  // The host holds that file open without sharing: openers report it locked.
  void Lock(CacheFile file);
  void Corrupt(CacheFile file, CacheDefect defect);
  // The cache claims the names `host forget` took away, as one written before a game update
  // does. Throws std::runtime_error when no name was forgotten.
  void MakeStale();

  // Whether path is a file of the cache the host holds locked.
  bool IsLocked(const std::filesystem::path& path) const;

  const std::filesystem::path& Folder() const { return folder_; }
  std::filesystem::path KeyFile() const { return folder_ / "cached_key.cache"; }
  // The current generation folder; empty after MakeAbsent and MakeLegacy.
  const std::filesystem::path& Generation() const { return generation_; }
  // The record file of that kind in the current layout (the generation, or the cache folder for
  // the legacy layout).
  std::filesystem::path FilePath(CacheFile file) const;

 private:
  void WriteKeyFile(const std::string& text);
  std::string KeyJson(std::int64_t version, const std::string& cache_directory) const;

  std::filesystem::path folder_;
  const Reflection& game_;
  std::filesystem::path generation_;
  std::filesystem::path files_folder_;  // where the record files are now
  unsigned next_generation_ = 0;
  std::vector<std::filesystem::path> locked_;
};

// The console's controls of the cache, as its usage text lists them (a literal, so that the
// console's own usage text can take it in).
#define SIM_HOST_CACHE_USAGE                                                                   \
  "host cache fresh | host cache absent | host cache legacy-hash | host cache legacy-json | "  \
  "host cache version <n> | host cache generation-gone | host cache lock offsets|bitfields | " \
  "host cache corrupt empty|zero-key|huge-key|key-past-end|short-value|trailing|repeat "       \
  "offsets|bitfields | host cache stale"

// Runs the console control "host cache <words...>" on the cache. Throws std::runtime_error with
// the text for the console when the words are no control ("usage: ...").
void RunCacheControl(HostOffsetsCache& cache, const std::vector<std::string>& words);

}  // namespace sim
