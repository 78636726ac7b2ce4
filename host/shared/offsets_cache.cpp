// Reading the host's offsets cache: the key file names the generation folder, whose two record
// files are streamed once each through a fixed buffer, checked as the host checks them, while
// only the queried names are held. Both bindings build it; see offsets_cache.h for the layout.
#include "offsets_cache.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>

#include <nlohmann/json.hpp>

namespace host::offsets_cache {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
// The host's key file is a few hundred bytes; a larger one is not the host's.
constexpr std::size_t kMaxKeyFileSize = 64 * 1024;
constexpr std::size_t kHashDigits = 64;
// The longest piece of a key file's text quoted in a reason.
constexpr std::size_t kMaxQuoted = 100;

constexpr char kKeyFileName[] = "cached_key.cache";
constexpr char kOffsetsFileName[] = "cached_offsets.cache";
constexpr char kBitFieldsFileName[] = "cached_bitfields.cache";
constexpr std::string_view kGenerationsPrefix = "generations/";

constexpr std::uint64_t kOffsetValueSize = 8;
constexpr std::uint64_t kBitFieldValueSize = 32;

// The bytes of a File in order, through a caller's buffer, counting how many were taken.
class Stream {
 public:
  Stream(File& file, char* buffer, std::size_t capacity)
      : file_(file), buffer_(buffer), capacity_(capacity) {}

  // Copies the next size bytes to out, or drops them when out is null. Answers how many it took,
  // fewer than size only at the end of the file, or -1 when reading failed.
  std::int64_t Take(char* out, std::uint64_t size) {
    std::uint64_t taken = 0;
    while (taken < size) {
      if (begin_ == end_ && !Refill()) {
        if (failed_) return -1;
        break;
      }
      const std::size_t chunk =
          static_cast<std::size_t>(std::min<std::uint64_t>(size - taken, end_ - begin_));
      if (out != nullptr) std::memcpy(out + taken, buffer_ + begin_, chunk);
      begin_ += chunk;
      taken += chunk;
      offset_ += chunk;
    }
    return static_cast<std::int64_t>(taken);
  }

  // Bytes taken so far: the offset in the file of the next one.
  std::uint64_t Offset() const { return offset_; }

 private:
  // False at the end of the file or when reading failed (failed_ then holds).
  bool Refill() {
    if (at_end_ || failed_) return false;
    const std::int64_t got = file_.Read(buffer_, capacity_);
    if (got < 0 || static_cast<std::uint64_t>(got) > capacity_) {
      failed_ = true;
      return false;
    }
    if (got == 0) {
      at_end_ = true;
      return false;
    }
    begin_ = 0;
    end_ = static_cast<std::size_t>(got);
    return true;
  }

  File& file_;
  char* buffer_;
  std::size_t capacity_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  std::uint64_t offset_ = 0;
  bool at_end_ = false;
  bool failed_ = false;
};

// The queried names of one record file, each once, with what a record can be told by before
// its key is read: its length.
class NameSet {
 public:
  NameSet(std::span<const Query> queries, bool flags) {
    for (const Query& query : queries) {
      if (query.is_flag != flags) continue;
      slots_.emplace(query.name, slots_.size());
      // A name longer than any key can be is never read for (and so answered Absent).
      if (query.name.size() <= kMaxKeyLength) longest_ = std::max(longest_, query.name.size());
    }
    wanted_length_.assign(longest_ + 1, false);
    for (const auto& [name, slot] : slots_)
      if (name.size() <= longest_) wanted_length_[name.size()] = true;
  }

  bool Empty() const { return slots_.empty(); }
  std::size_t Size() const { return slots_.size(); }
  std::size_t Longest() const { return longest_; }
  // Whether a key of this length can be one of the names.
  bool MayHold(std::uint64_t length) const {
    return length <= longest_ && wanted_length_[static_cast<std::size_t>(length)];
  }
  // The slot of a name, or -1 when it is not one of them.
  std::ptrdiff_t Find(std::string_view key) const {
    const auto found = slots_.find(key);
    return found == slots_.end() ? -1 : static_cast<std::ptrdiff_t>(found->second);
  }

 private:
  std::unordered_map<std::string_view, std::size_t> slots_;
  std::vector<bool> wanted_length_;
  std::size_t longest_ = 0;
};

// What a pass over one record file found: every check passed and which names it holds (by
// slot), or why it cannot be trusted.
struct FileVerdict {
  bool valid = false;
  std::vector<bool> found;
  std::string reason;
};

FileVerdict Refused(const char* file_name, const std::string& what, std::uint64_t byte) {
  FileVerdict verdict;
  verdict.reason = std::string(file_name) + ": " + what + " at byte " + std::to_string(byte);
  return verdict;
}

std::uint64_t LittleEndian(const unsigned char (&bytes)[8]) {
  std::uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

// One pass over a record file, to its end, with the host's checks.
FileVerdict ScanRecords(File& file, const char* file_name, const NameSet& names,
                        std::uint64_t value_size, std::uint64_t max_records, char* buffer) {
  Stream stream(file, buffer, kBufferSize);
  std::vector<bool> found(names.Size(), false);
  std::string key(names.Longest(), '\0');
  std::uint64_t records = 0;
  for (;;) {
    const std::uint64_t record_start = stream.Offset();
    unsigned char length_bytes[8];
    std::int64_t got = stream.Take(reinterpret_cast<char*>(length_bytes), sizeof length_bytes);
    if (got < 0) return Refused(file_name, "read failed", stream.Offset());
    if (got == 0) break;
    if (got < static_cast<std::int64_t>(sizeof length_bytes))
      return Refused(file_name, "trailing bytes", record_start);
    if (records == max_records)
      return Refused(file_name, "more than " + std::to_string(max_records) + " records",
                     record_start);
    const std::uint64_t length = LittleEndian(length_bytes);
    if (length == 0) return Refused(file_name, "zero-length key", record_start);
    if (length > kMaxKeyLength) return Refused(file_name, "key over 1 MiB", record_start);

    const std::uint64_t key_start = stream.Offset();
    const bool may_be_wanted = names.MayHold(length);
    got = stream.Take(may_be_wanted ? key.data() : nullptr, length);
    if (got < 0) return Refused(file_name, "read failed", stream.Offset());
    if (static_cast<std::uint64_t>(got) < length)
      return Refused(file_name, "key past the end of the file", key_start);
    if (may_be_wanted) {
      const std::ptrdiff_t slot = names.Find(std::string_view(key.data(), length));
      if (slot >= 0) {
        if (found[slot])
          return Refused(file_name, "repeated key " + std::string(key.data(), length),
                         record_start);
        found[slot] = true;
      }
    }

    const std::uint64_t value_start = stream.Offset();
    got = stream.Take(nullptr, value_size);
    if (got < 0) return Refused(file_name, "read failed", stream.Offset());
    if (static_cast<std::uint64_t>(got) < value_size)
      return Refused(file_name, "truncated value", value_start);
    ++records;
  }
  if (records == 0) {
    FileVerdict verdict;
    verdict.reason = std::string(file_name) + " is empty";
    return verdict;
  }
  FileVerdict verdict;
  verdict.valid = true;
  verdict.found = std::move(found);
  return verdict;
}

// Opens a file through the binding; null with the reason when it cannot.
std::unique_ptr<File> OpenFile(const Opener& open, const std::string& path, std::string* why_not) {
  std::string reason;
  std::unique_ptr<File> file = open ? open(path, &reason) : nullptr;
  if (file == nullptr) *why_not = reason.empty() ? "unreadable" : reason;
  return file;
}

FileVerdict ScanFile(const Opener& open, const std::string& folder, const char* file_name,
                     const NameSet& names, std::uint64_t value_size, std::uint64_t max_records,
                     char* buffer) {
  std::string why_not;
  const std::unique_ptr<File> file = OpenFile(open, folder + "/" + file_name, &why_not);
  if (file == nullptr) {
    FileVerdict verdict;
    verdict.reason = std::string(file_name) + " " + why_not;
    return verdict;
  }
  return ScanRecords(*file, file_name, names, value_size, max_records, buffer);
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsBareHash(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  return text.size() == kHashDigits && std::all_of(text.begin(), text.end(), IsHexDigit);
}

// "<64 hex digits>-<digits>-<digits>-<digits>": a generation folder's name as the host makes it.
bool IsGenerationName(std::string_view name) {
  if (name.size() < kHashDigits ||
      !std::all_of(name.begin(), name.begin() + kHashDigits, IsHexDigit))
    return false;
  name.remove_prefix(kHashDigits);
  for (int part = 0; part < 3; ++part) {
    if (name.empty() || name.front() != '-') return false;
    name.remove_prefix(1);
    const auto digits_end = std::find_if_not(name.begin(), name.end(), IsDigit);
    if (digits_end == name.begin()) return false;
    name.remove_prefix(static_cast<std::size_t>(digits_end - name.begin()));
  }
  return name.empty();
}

// A JSON value as the log may show it: escaped to ASCII, cut short when long.
std::string Quoted(const nlohmann::json& value) {
  std::string text = value.dump(-1, ' ', true, nlohmann::json::error_handler_t::replace);
  if (text.size() > kMaxQuoted) text = text.substr(0, kMaxQuoted) + "...";
  return text;
}

// What the key file says: the generation folder's name, or why it names none.
struct KeyFileVerdict {
  std::string generation;
  std::string reason;
};

KeyFileVerdict NoGeneration(std::string reason) {
  return KeyFileVerdict{{}, std::move(reason)};
}

KeyFileVerdict ReadKeyFile(const Opener& open, const std::string& cache_folder, char* buffer) {
  std::string why_not;
  const std::unique_ptr<File> file = OpenFile(open, cache_folder + "/" + kKeyFileName, &why_not);
  if (file == nullptr)
    return NoGeneration(why_not == "not found" ? std::string("no ") + kKeyFileName
                                               : std::string(kKeyFileName) + " " + why_not);
  std::string text;
  for (;;) {
    const std::int64_t got = file->Read(buffer, kBufferSize);
    if (got < 0 || static_cast<std::uint64_t>(got) > kBufferSize)
      return NoGeneration(std::string(kKeyFileName) + " unreadable");
    if (got == 0) break;
    text.append(buffer, static_cast<std::size_t>(got));
    if (text.size() > kMaxKeyFileSize)
      return NoGeneration(std::string(kKeyFileName) + " is too large");
  }

  if (IsBareHash(text)) return NoGeneration("legacy cache layout");
  const nlohmann::json key = nlohmann::json::parse(text, nullptr, false);
  if (key.is_discarded()) return NoGeneration(std::string(kKeyFileName) + " is not JSON");
  if (!key.is_object()) return NoGeneration(std::string(kKeyFileName) + " is not a JSON object");

  const auto version = key.find("version");
  if (version == key.end()) return NoGeneration("no cache version");
  if (!version->is_number_integer() || *version != 1)
    return NoGeneration("cache version " + Quoted(*version));

  const auto directory = key.find("cache_directory");
  if (directory == key.end())
    return NoGeneration(std::string("no cache_directory in ") + kKeyFileName);
  if (!directory->is_string())
    return NoGeneration("cache_directory " + Quoted(*directory) + " is not text");
  const std::string& path = directory->get_ref<const std::string&>();
  if (path.empty()) return NoGeneration("legacy cache layout");
  const std::string_view view(path);
  if (!view.starts_with(kGenerationsPrefix) ||
      !IsGenerationName(view.substr(kGenerationsPrefix.size())))
    return NoGeneration("cache_directory " + Quoted(*directory) + " is not a generation folder");
  return KeyFileVerdict{path.substr(kGenerationsPrefix.size()), {}};
}

Result Read(const std::string& cache_folder, std::span<const Query> queries, const Opener& open,
            std::uint64_t max_records) {
  Result result;
  result.presence.assign(queries.size(), Presence::Unknown);
  const std::unique_ptr<char[]> buffer(new char[kBufferSize]);

  KeyFileVerdict key = ReadKeyFile(open, cache_folder, buffer.get());
  if (!key.reason.empty()) {
    result.unknown_reason = std::move(key.reason);
    return result;
  }
  result.generation = std::move(key.generation);

  const std::string folder =
      cache_folder + "/" + std::string(kGenerationsPrefix) + result.generation;
  for (const bool flags : {false, true}) {
    const NameSet names(queries, flags);
    if (names.Empty()) continue;  // nothing to learn from this file
    const FileVerdict verdict =
        ScanFile(open, folder, flags ? kBitFieldsFileName : kOffsetsFileName, names,
                 flags ? kBitFieldValueSize : kOffsetValueSize, max_records, buffer.get());
    if (!verdict.valid && result.unknown_reason.empty()) result.unknown_reason = verdict.reason;
    for (std::size_t i = 0; i < queries.size(); ++i) {
      if (queries[i].is_flag != flags || !verdict.valid) continue;
      const bool present = verdict.found[static_cast<std::size_t>(names.Find(queries[i].name))];
      result.presence[i] = present ? Presence::Present : Presence::Absent;
    }
  }
  return result;
}

}  // namespace

Result ReadOffsetsCacheWithRecordLimit(const std::string& cache_folder,
                                       std::span<const Query> queries, const Opener& open,
                                       std::uint64_t max_records) noexcept {
  Result result;
  try {
    result = Read(cache_folder, queries, open, max_records);
  } catch (...) {
    // Out of memory, or a binding's opener that threw: nothing is known.
    std::fill(result.presence.begin(), result.presence.end(), Presence::Unknown);
    try {
      result.presence.resize(queries.size(), Presence::Unknown);
      result.unknown_reason = "reading the cache failed";
    } catch (...) {
    }
  }
  return result;
}

Result ReadOffsetsCache(const std::string& cache_folder, std::span<const Query> queries,
                        const Opener& open) noexcept {
  return ReadOffsetsCacheWithRecordLimit(cache_folder, queries, open, kMaxRecords);
}

}  // namespace host::offsets_cache
