// The plugin's detours, one row per hooked game function: its name on the list of game names, the
// detour, the call-through slot the host fills in, and whether it guards storage. Everything that
// needs the plugin's hooks follows from these rows: the plugin installs them in this order, and
// the tests and the bench hold their own per-hook tables against them.
//
// The rows are made once, on first use, and never change; any thread may read them.
#pragma once

#include <span>

#include "host/game_names.h"

namespace tinyhorde {

struct DetourRow {
  host::GameName name;  // the game function, from the list of game names
  void* detour;
  void** slot;
  // A restore path that must be in place before any creature may be shrunk: without it a
  // creature could reach storage at its reduced size.
  bool guards_storage;
};

// Every row, in installation order.
std::span<const DetourRow> DetourTable();

// The row on the game function of that name; null when the plugin hooks no such function.
const DetourRow* FindDetourRow(const char* name);

}  // namespace tinyhorde
