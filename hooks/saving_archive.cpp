#include "hooks/saving_archive.h"

#include <cstdint>
#include <cstring>

#include <fmt/format.h>

#include "base/logger.h"

namespace tinyhorde {

namespace {

// The saving flag is bit value 4 of the archive's flag byte. Two layouts of the archive's first
// bytes exist:
// - with editor-only data, the flag byte directly follows the virtual-table pointer: byte 8;
// - without it (the usual cooked game or server build), the archive first holds ActiveFPLB, a
//   pointer at byte 8 that normally points at its own InlineFPLB at byte 16 (24 bytes), and the
//   flag byte is byte 40. Byte 8 is then the low byte of an 8-aligned pointer, whose bit of
//   value 4 is always clear.
// A pointer at byte 8 equal to the archive's address plus 16 shows the cooked layout. While a
// loader points it elsewhere the flag cannot be seen, and byte 8 reads as not saving: world
// saves do not rest on this flag (the world save is hooked itself).
constexpr std::size_t kEditorFlagByte = 8;
constexpr std::size_t kFastPathPointer = 8;
constexpr std::size_t kInlineFastPath = 16;
constexpr std::size_t kCookedFlagByte = 40;
constexpr std::uint8_t kSavingBit = 4;

bool layout_logged = false;
bool unrecognised_reported = false;

}  // namespace

std::size_t SavingFlagByte(const host::FArchive* archive) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(archive);
  std::uintptr_t fast_path = 0;
  std::memcpy(&fast_path, bytes + kFastPathPointer, sizeof fast_path);
  return fast_path == reinterpret_cast<std::uintptr_t>(bytes + kInlineFastPath) ? kCookedFlagByte
                                                                                : kEditorFlagByte;
}

bool IsSavingArchive(const host::FArchive* archive) {
  const std::size_t flag_byte = SavingFlagByte(archive);
  const bool saving = (reinterpret_cast<const std::uint8_t*>(archive)[flag_byte] & kSavingBit) != 0;
  if (saving && !layout_logged) {
    layout_logged = true;
    LogInfo(fmt::format("[Tinyhorde] Saving archives: the flag is read at byte {}.", flag_byte));
  }
  return saving;
}

void ReportUnrecognisedArchives() {
  if (unrecognised_reported) return;
  unrecognised_reported = true;
  LogWarning(
      "[Tinyhorde] Saving archives not recognised: the world save wrote characters through no "
      "archive the plugin sees as saving. World saves are still guarded, but a cryopod or a "
      "transfer that another plugin or a mod makes through the game's serializer alone may store "
      "a creature at its reduced size. Please report this line.");
}

void ForgetArchiveLayout() {
  layout_logged = false;
  unrecognised_reported = false;
}

}  // namespace tinyhorde
