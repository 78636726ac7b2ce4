// A set of object addresses built once and then only asked, with a single allocation: open
// addressing with linear probing over a power-of-two table at least twice the expected count.
// For a set made and dropped around one operation (a world save), where a node per entry would
// cost more than the operation's own work. Not thread-safe; null is never a member.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace tinyhorde {

class AddressSet {
 public:
  // Room for expected members; more still fit, at the cost of longer probes, until the table
  // is full, after which Insert grows it.
  explicit AddressSet(std::size_t expected = 0) { Reset(expected); }

  void Insert(const void* address) {
    if (address == nullptr) return;
    if (2 * (count_ + 1) > slots_.size()) Grow();
    for (std::size_t i = SlotOf(address);; i = (i + 1) & mask_) {
      if (slots_[i] == address) return;
      if (slots_[i] == nullptr) {
        slots_[i] = address;
        ++count_;
        return;
      }
    }
  }

  bool Contains(const void* address) const {
    if (address == nullptr) return false;
    for (std::size_t i = SlotOf(address);; i = (i + 1) & mask_) {
      if (slots_[i] == address) return true;
      if (slots_[i] == nullptr) return false;
    }
  }

  std::size_t size() const { return count_; }

 private:
  void Reset(std::size_t expected) {
    const std::size_t capacity = std::bit_ceil(2 * expected < 8 ? std::size_t{8} : 2 * expected);
    slots_.assign(capacity, nullptr);
    mask_ = capacity - 1;
    shift_ = 64 - std::countr_zero(capacity);
    count_ = 0;
  }

  void Grow() {
    const std::vector<const void*> old = std::move(slots_);
    Reset(old.size());
    for (const void* address : old)
      if (address != nullptr) Insert(address);
  }

  // Fibonacci hashing: the multiply spreads the aligned low bits of an address over the top bits.
  std::size_t SlotOf(const void* address) const {
    const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(address));
    return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ull) >> shift_) & mask_;
  }

  std::vector<const void*> slots_;
  std::size_t mask_ = 0;
  unsigned shift_ = 0;
  std::size_t count_ = 0;
};

}  // namespace tinyhorde
