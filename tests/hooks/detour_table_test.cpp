// The plugin's detour table and the simulated game's hookable functions name the same hooks: a
// hook the game has and the plugin lacks a row for (or the other way round) fails here, as do two
// rows on one name or one slot, and a storage row on a name the SDK does not show (such a hook is
// asked for only on some hosts, so shrinking could never wait for it).
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "hooks/detour_table.h"
#include "sim/game.h"

namespace {

TEST(DetourTable, HoldsOneRowForEachHookOfTheGameAndNoOther) {
  std::set<std::string> game_hooks;
  for (int hook = 0; hook < static_cast<int>(sim::Hook::Count); ++hook)
    game_hooks.insert(sim::HookName(static_cast<sim::Hook>(hook)));
  std::set<std::string> rows;
  std::set<void**> slots;
  for (const tinyhorde::DetourRow& row : tinyhorde::DetourTable()) {
    EXPECT_TRUE(rows.insert(row.name.name).second) << "two rows on " << row.name.name;
    EXPECT_TRUE(slots.insert(row.slot).second) << "a slot shared by " << row.name.name;
    EXPECT_EQ(row.name.kind, host::GameNameKind::Hook) << row.name.name;
    EXPECT_NE(row.detour, nullptr) << row.name.name;
    EXPECT_EQ(tinyhorde::FindDetourRow(row.name.name), &row) << row.name.name;
    EXPECT_EQ(game_hooks.count(row.name.name), 1u) << "the game has no hook " << row.name.name;
    EXPECT_FALSE(row.name.unverified_because != nullptr && row.guards_storage) << row.name.name;
    // A storage hook the game lacks could let a creature be stored small: shrinking needs it.
    // Every other hook serves a trigger or the camera, which go off alone.
    if (row.guards_storage)
      EXPECT_NE(row.name.features & host::feature::kShrinking, 0u) << row.name.name;
    else
      EXPECT_EQ(row.name.features & (host::feature::kRestoring | host::feature::kShrinking), 0u)
          << row.name.name;
  }
  for (const std::string& hook : game_hooks)
    EXPECT_EQ(rows.count(hook), 1u) << "no detour row for the game's hook " << hook;
  EXPECT_EQ(tinyhorde::FindDetourRow("APrimalDinoCharacter.NoSuchFunction()"), nullptr);
  EXPECT_EQ(tinyhorde::FindDetourRow(nullptr), nullptr);
}

}  // namespace
