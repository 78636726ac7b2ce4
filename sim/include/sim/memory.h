// The game's allocator as the plugin reaches it (FMemory), with an account of every block, so
// that a test can see a buffer the plugin forgot to release or released twice; and the game's
// own heap for strings the game keeps inside its objects, which is not counted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "sim/game_types.h"

namespace sim {

class TrackedMemory {
 public:
  TrackedMemory() = default;
  TrackedMemory(const TrackedMemory&) = delete;
  TrackedMemory& operator=(const TrackedMemory&) = delete;
  ~TrackedMemory();

  void* Malloc(std::uint64_t size, std::uint32_t alignment);
  // Realloc of null is Malloc; of size 0 is Free (answering null).
  void* Realloc(void* block, std::uint64_t size, std::uint32_t alignment);
  // Null is ignored. A block this allocator does not hold (never given out, or freed already) is
  // not touched; it is counted as a bad free.
  void Free(void* block);

  std::size_t LiveBlocks() const { return blocks_.size(); }
  std::size_t BadFrees() const { return bad_frees_; }
  std::uint64_t Allocations() const { return allocations_; }

 private:
  std::unordered_map<void*, std::uint64_t> blocks_;
  std::size_t bad_frees_ = 0;
  std::uint64_t allocations_ = 0;
};

// Game-owned strings (in creatures, RCON packets, typed lines): on the game's own heap.
FString MakeGameString(std::u16string_view text);
void ReleaseGameString(FString& text);
// The text of any game string.
std::u16string StringText(const FString& text);

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace sim
