// The offsets cache reader on an arbitrary key file and two arbitrary record files, served from
// memory in reads of an arbitrary size. The input is
//   <read size byte> <failure byte> <cached_key.cache> "|OFFSETS|" <cached_offsets.cache>
//   "|BITFIELDS|" <cached_bitfields.cache>
// where a missing separator leaves the files after it missing, a read size byte n reads
// n % 64 + 1 bytes at a time, and a failure byte f > 0 fails every read after 4 * f bytes.
//
// Checked on every input, against a plain in-memory model of the host's checks: one answer per
// name; a key file taken only when it names a generation folder of the host's shape; a name
// Present or Absent exactly when its whole file passes the model, and then as the model says;
// a reason exactly when a name is Unknown, naming the first file that failed.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "host/shared/offsets_cache.h"

namespace {

using namespace host::offsets_cache;

constexpr std::uint64_t kRecordLimit = 40;

const Query kQueries[] = {
    {"A.b"},       {"Dino.Scale"}, {"Dino.Tame(int,float)"}, {"Dino.bBaby", true},
    {"A.b", true}, {"Dino.Scale"}};

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "offsets_cache_fuzz: %s\n", what.c_str());
  std::abort();
}

struct Input {
  std::size_t chunk = 1;
  std::uint64_t fail_after = UINT64_MAX;
  std::optional<std::string> key = std::string();
  std::optional<std::string> offsets, bit_fields;
};

Input Split(std::string_view data) {
  Input input;
  if (data.size() < 2) return input;
  input.chunk = static_cast<unsigned char>(data[0]) % 64 + 1;
  if (data[1] != 0) input.fail_after = 4u * static_cast<unsigned char>(data[1]);
  data.remove_prefix(2);
  const auto take_until = [&data](std::string_view separator) {
    const std::size_t at = data.find(separator);
    const std::string_view part = data.substr(0, at);
    data = at == std::string_view::npos ? std::string_view() : data.substr(at + separator.size());
    return std::pair{std::string(part), at != std::string_view::npos};
  };
  auto [key, has_offsets] = take_until("|OFFSETS|");
  input.key = std::move(key);
  if (!has_offsets) return input;
  auto [offsets, has_bit_fields] = take_until("|BITFIELDS|");
  input.offsets = std::move(offsets);
  if (has_bit_fields) input.bit_fields = std::string(data);
  return input;
}

class MemoryFile final : public File {
 public:
  MemoryFile(std::string_view bytes, std::size_t chunk, std::shared_ptr<std::uint64_t> left)
      : bytes_(bytes), chunk_(chunk), left_(std::move(left)) {}
  std::int64_t Read(void* buffer, std::size_t size) override {
    if (*left_ == 0) return -1;
    const std::size_t n = std::min({size, chunk_, bytes_.size(), static_cast<std::size_t>(*left_)});
    std::memcpy(buffer, bytes_.data(), n);
    bytes_.remove_prefix(n);
    *left_ -= n;
    return static_cast<std::int64_t>(n);
  }

 private:
  std::string_view bytes_;
  std::size_t chunk_;
  std::shared_ptr<std::uint64_t> left_;
};

bool IsGenerationName(std::string_view name) {
  const auto hex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
  if (name.size() < 64 || !std::all_of(name.begin(), name.begin() + 64, hex)) return false;
  name.remove_prefix(64);
  for (int part = 0; part < 3; ++part) {
    if (name.size() < 2 || name[0] != '-' || !std::isdigit(static_cast<unsigned char>(name[1])))
      return false;
    name.remove_prefix(1);
    while (!name.empty() && std::isdigit(static_cast<unsigned char>(name[0])))
      name.remove_prefix(1);
  }
  return name.empty();
}

// The model: whether a record file passes every check, and the keys it holds.
struct Model {
  bool valid = false;
  std::set<std::string, std::less<>> keys;
};

Model Parse(const std::optional<std::string>& file, std::size_t value_size,
            const std::set<std::string_view>& queried) {
  Model model;
  if (!file || file->empty()) return model;
  const std::string& bytes = *file;
  std::size_t at = 0, records = 0;
  while (at < bytes.size()) {
    if (bytes.size() - at < 8 || records == kRecordLimit) return model;
    std::uint64_t length = 0;
    for (int i = 7; i >= 0; --i) length = length << 8 | static_cast<unsigned char>(bytes[at + i]);
    at += 8;
    if (length == 0 || length > kMaxKeyLength || bytes.size() - at < length) return model;
    const std::string key = bytes.substr(at, length);
    at += length;
    if (bytes.size() - at < value_size) return model;
    at += value_size;
    ++records;
    if (!model.keys.insert(key).second && queried.contains(key)) return model;
  }
  model.valid = true;
  return model;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Input input = Split(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string folder = "/cache";
  auto left = std::make_shared<std::uint64_t>(input.fail_after);
  const Opener open = [&](const std::string& path, std::string* why_not) -> std::unique_ptr<File> {
    const std::optional<std::string>* bytes = nullptr;
    if (path == folder + "/cached_key.cache") {
      bytes = &input.key;
    } else if (path.starts_with(folder + "/generations/")) {
      const std::string_view rest = std::string_view(path).substr(folder.size() + 13);
      const std::size_t slash = rest.find('/');
      if (slash == std::string_view::npos || !IsGenerationName(rest.substr(0, slash)))
        Fail("opened outside a generation folder: " + path);
      const std::string_view name = rest.substr(slash + 1);
      if (name == "cached_offsets.cache") bytes = &input.offsets;
      if (name == "cached_bitfields.cache") bytes = &input.bit_fields;
    }
    if (bytes == nullptr) Fail("opened an unexpected file: " + path);
    if (!bytes->has_value()) {
      *why_not = "not found";
      return nullptr;
    }
    return std::make_unique<MemoryFile>(**bytes, input.chunk, left);
  };

  const Result result = ReadOffsetsCacheWithRecordLimit(folder, kQueries, open, kRecordLimit);
  const std::size_t count = std::size(kQueries);
  if (result.presence.size() != count) Fail("not one answer per name");

  if (result.generation.empty()) {
    for (const Presence presence : result.presence)
      if (presence != Presence::Unknown) Fail("a name answered without a key file taken");
    if (result.unknown_reason.empty()) Fail("an untaken key file gives no reason");
    return 0;
  }
  if (!IsGenerationName(result.generation)) Fail("took generation " + result.generation);

  // A read failure anywhere may leave a file unknown that the model passes; only the opposite
  // is a fault then.
  const bool reads_may_fail = input.fail_after != UINT64_MAX;
  std::set<std::string_view> queried[2];
  for (const Query& query : kQueries) queried[query.is_flag].insert(query.name);
  const Model models[2] = {Parse(input.offsets, 8, queried[0]),
                           Parse(input.bit_fields, 32, queried[1])};
  const char* const names[2] = {"cached_offsets.cache", "cached_bitfields.cache"};
  bool any_unknown = false;
  for (std::size_t i = 0; i < count; ++i) {
    const Model& model = models[kQueries[i].is_flag];
    const Presence presence = result.presence[i];
    if (presence == Presence::Unknown) {
      any_unknown = true;
      if (model.valid && !reads_may_fail) Fail("a valid file left unknown");
      continue;
    }
    if (!model.valid) Fail("an answer from a file that fails a check");
    const bool present = model.keys.contains(kQueries[i].name);
    if ((presence == Presence::Present) != present) Fail("a wrong answer");
  }
  if (any_unknown == result.unknown_reason.empty()) Fail("a reason exactly when unknown");
  if (any_unknown) {
    const bool offsets_first = result.presence[0] == Presence::Unknown;
    if (!result.unknown_reason.starts_with(names[offsets_first ? 0 : 1]))
      Fail("reason names the wrong file: " + result.unknown_reason);
  }
  return 0;
}
