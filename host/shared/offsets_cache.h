// Reading the host's offsets cache: the files in which the host keeps, for the game build it
// runs, every game name it knows (fields, functions and hooks in cached_offsets.cache, one-bit
// flags in cached_bitfields.cache). The host loads them before any plugin starts, so a name
// missing from a valid cache is one the game lacks, and asking the host for it would stop the
// server.
//
// Layout under the cache folder (the host's "<exe folder>/ArkApi/Cache"):
//   cached_key.cache   JSON {"version": 1, "cache_directory": "generations/<64 hex>-<n>-<n>-<n>",
//                      ...other keys}
//   <cache_directory>/cached_offsets.cache, <cache_directory>/cached_bitfields.cache
// Each record file is a run of records to its end: an 8-byte little-endian key length, the
// key's bytes, the value (8 bytes for an offset, 32 for a bit-field).
//
// Shared by both bindings; a binding supplies only the folder and the opening of a file. Plugin
// code reaches it through host/services.h. Nothing here throws.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace host::offsets_cache {

// One name to look for. A flag is looked up in the bit-field file, every other name in the
// offsets file.
struct Query {
  std::string_view name;
  bool is_flag = false;
};

// What the cache says of one name. Absent is said only after a full pass over a file that
// passed every check; anything short of that is Unknown.
enum class Presence { Unknown, Present, Absent };

struct Result {
  // One per query, in the queries' order.
  std::vector<Presence> presence;
  // Why some or all names are Unknown (the first reason met), for the log; empty when every
  // name is Present or Absent.
  std::string unknown_reason;
  // The generation folder's own name ("<hash>-<pid>-<tick>-<n>"); empty when the key file did
  // not name one.
  std::string generation;
};

// A file open for reading. Read fills up to size bytes and answers how many it read, 0 at the
// end of the file, or -1 when reading failed.
class File {
 public:
  virtual ~File() = default;
  virtual std::int64_t Read(void* buffer, std::size_t size) = 0;
};

// Opens the file at path (UTF-8) for reading, letting the host go on writing, moving and deleting
// it. Null when it cannot; then *why_not says why in a few words ("not found", "locked",
// "unreadable").
using Opener = std::function<std::unique_ptr<File>(const std::string& path, std::string* why_not)>;

// The host's own limits on a record file.
inline constexpr std::uint64_t kMaxRecords = 5'000'000;
inline constexpr std::uint64_t kMaxKeyLength = 1024 * 1024;

// Reads the cache under cache_folder (UTF-8, no trailing separator) once and answers for every
// query. Holds only the queried names while it streams the record files. presence is short of
// the queries only when memory ran out; every name it lacks is then Unknown.
Result ReadOffsetsCache(const std::string& cache_folder, std::span<const Query> queries,
                        const Opener& open) noexcept;

// The same with another limit on the records of a file (kMaxRecords above), so that the limit
// can be tried on a small file.
Result ReadOffsetsCacheWithRecordLimit(const std::string& cache_folder,
                                       std::span<const Query> queries, const Opener& open,
                                       std::uint64_t max_records) noexcept;

}  // namespace host::offsets_cache
