#include "sim/offsets_cache.h"

#include <dlfcn.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unordered_map>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "sim/reflection.h"

namespace sim {

namespace {

constexpr std::size_t kOffsetValueSize = 8;
constexpr std::size_t kBitFieldValueSize = 32;

std::size_t ValueSize(CacheFile file) {
  return file == CacheFile::Offsets ? kOffsetValueSize : kBitFieldValueSize;
}

const char* FileName(CacheFile file) {
  return file == CacheFile::Offsets ? "cached_offsets.cache" : "cached_bitfields.cache";
}

void PutLittleEndian(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PutRecord(std::string& out, const std::string& key, const std::string& value) {
  PutLittleEndian(out, key.size(), 8);
  out += key;
  out += value;
}

std::string OffsetValue(std::int64_t offset) {
  std::string value;
  PutLittleEndian(value, static_cast<std::uint64_t>(offset), 8);
  return value;
}

std::string BitFieldValue(const Reflection::Flag& flag) {
  std::string value;
  PutLittleEndian(value, flag.word_offset, 8);
  PutLittleEndian(value, flag.bit, 4);
  value.append(4, static_cast<char>(HostOffsetsCache::kPaddingByte));
  PutLittleEndian(value, 1, 8);  // bit count
  PutLittleEndian(value, 4, 8);  // length of the word, in bytes
  return value;
}

// A function's offset from the base of the module that holds it, as the host stores functions.
std::int64_t FromModuleBase(void* address) {
  Dl_info info{};
  const auto at = reinterpret_cast<std::uintptr_t>(address);
  if (dladdr(address, &info) == 0 || info.dli_fbase == nullptr)
    return static_cast<std::int64_t>(at);
  return static_cast<std::int64_t>(at - reinterpret_cast<std::uintptr_t>(info.dli_fbase));
}

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

// The time as an HTTP date ("Wed, 09 Dec 2026 14:45:42 GMT"), spelled the same in every locale.
std::string HttpDate(std::time_t time) {
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::tm utc{};
  gmtime_r(&time, &utc);
  return fmt::format("{}, {:02} {} {} {:02}:{:02}:{:02} GMT", kDays[utc.tm_wday], utc.tm_mday,
                     kMonths[utc.tm_mon], utc.tm_year + 1900, utc.tm_hour, utc.tm_min, utc.tm_sec);
}

// Milliseconds since the machine started, as the host's tick count.
std::uint64_t TickCount() {
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count());
}

}  // namespace

HostOffsetsCache::HostOffsetsCache(std::filesystem::path folder, const Reflection& game)
    : folder_(std::move(folder)), game_(game), files_folder_(folder_) {}

std::filesystem::path HostOffsetsCache::FilePath(CacheFile file) const {
  return files_folder_ / FileName(file);
}

std::string HostOffsetsCache::KeyJson(std::int64_t version,
                                      const std::string& cache_directory) const {
  // The library's objects keep their keys sorted, and dump() writes them compact.
  return nlohmann::json{{"version", version},
                        {"executable_hash", std::string(kExecutableHash)},
                        {"last_modified", HttpDate(std::time(nullptr))},
                        {"cache_directory", cache_directory}}
      .dump();
}

// Written beside it, then renamed over it: a reader sees the old key file or the new one.
void HostOffsetsCache::WriteKeyFile(const std::string& text) {
  const auto temporary = folder_ / "cached_key.cache.tmp";
  WriteAll(temporary, text);
  std::filesystem::rename(temporary, KeyFile());
}

void HostOffsetsCache::WriteGeneration(bool claim_forgotten) {
  const auto generations = folder_ / "generations";
  std::filesystem::create_directories(generations);
  const std::string prefix =
      fmt::format("{}-{}-{}-", kExecutableHash, static_cast<long>(::getpid()), TickCount());
  std::filesystem::path folder;
  do {
    folder = generations / (prefix + std::to_string(next_generation_++));
  } while (!std::filesystem::create_directory(folder));

  // Hash order, as the host writes its maps.
  const Reflection::Holdings held = game_.Held(claim_forgotten);
  std::unordered_map<std::string, std::int64_t> offsets;
  for (const auto& [name, offset] : held.fields)
    offsets.emplace(name, static_cast<std::int64_t>(offset));
  for (const auto& [name, address] : held.functions) offsets.emplace(name, FromModuleBase(address));
  std::string offsets_bytes, bitfields_bytes;
  for (const auto& [name, offset] : offsets) PutRecord(offsets_bytes, name, OffsetValue(offset));
  for (const auto& [name, flag] : held.flags) PutRecord(bitfields_bytes, name, BitFieldValue(flag));
  WriteAll(folder / FileName(CacheFile::Offsets), offsets_bytes);
  WriteAll(folder / FileName(CacheFile::BitFields), bitfields_bytes);

  generation_ = folder;
  files_folder_ = folder;
  locked_.clear();
  WriteKeyFile(KeyJson(1, "generations/" + folder.filename().string()));
  for (const auto& entry : std::filesystem::directory_iterator(generations))
    if (entry.path() != folder) std::filesystem::remove_all(entry.path());
}

void HostOffsetsCache::MakeAbsent() {
  WriteGeneration();
  std::filesystem::remove_all(folder_);
  generation_.clear();
  files_folder_ = folder_;
}

void HostOffsetsCache::MakeLegacy(bool bare_hash) {
  WriteGeneration();
  for (CacheFile file : {CacheFile::Offsets, CacheFile::BitFields})
    std::filesystem::rename(generation_ / FileName(file), folder_ / FileName(file));
  std::filesystem::remove_all(folder_ / "generations");
  generation_.clear();
  files_folder_ = folder_;
  WriteKeyFile(bare_hash ? std::string(kExecutableHash) + "\n" : KeyJson(1, ""));
}

void HostOffsetsCache::SetVersion(std::int64_t version) {
  WriteGeneration();
  WriteKeyFile(KeyJson(version, "generations/" + generation_.filename().string()));
}

void HostOffsetsCache::RemoveGeneration() {
  WriteGeneration();
  std::filesystem::remove_all(generation_);
}

void HostOffsetsCache::Lock(CacheFile file) {
  WriteGeneration();
  locked_.push_back(FilePath(file));
}

void HostOffsetsCache::Corrupt(CacheFile file, CacheDefect defect) {
  WriteGeneration();
  const auto path = FilePath(file);
  std::string bytes = ReadAll(path);
  const std::size_t value_size = ValueSize(file);
  switch (defect) {
    case CacheDefect::Empty:
      bytes.clear();
      break;
    case CacheDefect::ZeroLengthKey:
      PutLittleEndian(bytes, 0, 8);
      bytes.append(value_size, '\0');
      break;
    case CacheDefect::OversizedKey:
      PutLittleEndian(bytes, kMaxKeyLength + 1, 8);
      break;
    case CacheDefect::KeyPastEnd:
      PutLittleEndian(bytes, 64, 8);
      bytes.append(10, 'K');
      break;
    case CacheDefect::TruncatedValue:
      PutRecord(bytes, "UObjectBase.TruncatedValue", std::string(value_size / 2, '\x01'));
      break;
    case CacheDefect::TrailingBytes:
      bytes.append(3, '\x7f');
      break;
    case CacheDefect::RepeatedKey: {
      if (bytes.size() < 8) throw std::runtime_error(path.string() + " has no record to repeat");
      std::uint64_t key_length = 0;
      for (int i = 7; i >= 0; --i)
        key_length = (key_length << 8) | static_cast<unsigned char>(bytes.at(i));
      bytes += bytes.substr(0, 8 + key_length + value_size);
      break;
    }
  }
  WriteAll(path, bytes);
}

void HostOffsetsCache::MakeStale() {
  if (!game_.HasForgotten())
    throw std::runtime_error("the game lacks no forgotten name: host forget <game name> first");
  WriteGeneration(true);
}

bool HostOffsetsCache::IsLocked(const std::filesystem::path& path) const {
  std::error_code error;
  const auto asked = std::filesystem::weakly_canonical(path, error);
  if (error) return false;
  for (const auto& locked : locked_) {
    const auto held = std::filesystem::weakly_canonical(locked, error);
    if (!error && held == asked) return true;
  }
  return false;
}

}  // namespace sim
