// Names the game answers to: fields ("Class.Field" → offset), one-bit flags (→ word offset and
// bit) and functions ("Class.Function(ArgTypes)" → address). Each look-up is one hash-map
// look-up keyed by the whole name, as on the real host, and is counted.
//
// A look-up of a name the game does not know answers nothing; what follows from that (the server
// ends, or a null address) is the host's business (host_api.cpp). A test can make a chosen name
// unknown; looking it up then answers nothing as for any unknown name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/game_names.h"

namespace sim {

class Reflection {
 public:
  struct BitFieldAddress {
    std::uint64_t word_address;
    std::uint32_t bit_position;
    std::uint64_t num_bits;
    std::uint64_t length;
  };

  // The game knows only names on the list of game names, each as its kind; a hooked function is a
  // function too.
  void AddField(const host::GameName& name, std::size_t offset);
  void AddFlag(const host::GameName& name, std::size_t word_offset, std::uint32_t bit);
  void AddFunction(const host::GameName& name, void* address);

  // Nothing (or null) for an unknown name.
  std::optional<std::uintptr_t> FieldAddress(const void* object, const std::string& name);
  std::optional<BitFieldAddress> FlagAddress(const void* object, const std::string& name);
  void* FunctionAddress(const std::string& name);
  // A look-up the host makes on its own behalf inside one of its calls (its messaging's): not
  // counted as a plugin's.
  void* HostFunctionAddress(const std::string& name) const;

  // A name the game has but lacks from the start (one the SDK shows on no live line). Not a
  // change: the listener is not told.
  void LackByDefault(const std::string& name) { unknown_.insert(name); }
  // Forgets a name, as a game update that removes it: unknown from now on.
  void MakeUnknown(const std::string& name);
  // False when the game has no such name to give back (one it was never given).
  bool MakeKnown(const std::string& name);
  // Called after each MakeUnknown, and each MakeKnown that gave a name back (the host keeps its
  // offsets cache from what the game has). One listener; an empty function removes it.
  void OnChange(std::function<void()> listener) { changed_ = std::move(listener); }
  // Not counted as look-ups.
  bool Knows(const std::string& name) const;
  bool KnowsFunction(const std::string& name) const;

  std::uint64_t Lookups() const { return lookups_; }

  // Every name the game knows, and every name asked for that is not on the list of game names
  // (for tests: a plugin that asks for such a name would stop a real server).
  std::vector<std::string> KnownNames() const;
  const std::vector<std::string>& UnlistedAsked() const { return unlisted_asked_; }

  // Where a one-bit flag sits: its 32-bit word's offset in the object, and its bit.
  struct Flag {
    std::size_t word_offset;
    std::uint32_t bit;
  };
  // What the game has under each name it knows now, for the host's offsets cache: fields (offset
  // in the object), functions (address; hooked ones too) and flags. With `forgotten`, also the
  // names MakeUnknown took away (not those lacked by default): what a cache written before a game
  // update still claims. Hash order.
  struct Holdings {
    std::unordered_map<std::string, std::size_t> fields;
    std::unordered_map<std::string, void*> functions;
    std::unordered_map<std::string, Flag> flags;
  };
  Holdings Held(bool forgotten) const;
  // Whether MakeUnknown took away a name the game has.
  bool HasForgotten() const;

 private:
  bool Hidden(const std::string& name) const { return !unknown_.empty() && unknown_.count(name); }

  std::unordered_map<std::string, std::size_t> fields_;
  std::unordered_map<std::string, Flag> flags_;
  std::unordered_map<std::string, void*> functions_;
  std::unordered_set<std::string> unknown_;
  std::unordered_set<std::string> forgotten_;  // unknown through MakeUnknown
  std::function<void()> changed_;
  std::uint64_t lookups_ = 0;
  std::vector<std::string> unlisted_asked_;
  void Asked(const std::string& name);
};

}  // namespace sim
