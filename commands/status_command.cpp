#include "commands/status_command.h"

#include <cmath>
#include <exception>

#include <fmt/format.h>

#include "base/contained.h"
#include "base/game_handles.h"
#include "base/game_names_check.h"
#include "base/unverified_hooks.h"
#include "commands/bulk_resize.h"
#include "commands/reply.h"
#include "config/load_config.h"
#include "config/plugin_settings.h"
#include "config/setting_descriptions.h"
#include "host/game.h"
#include "host/services.h"
#include "scaling/creature_verdict.h"
#include "scaling/scale_application.h"
#include "scaling/shrink_gate.h"
#include "scaling/shrunk_record.h"

namespace tinyhorde {

namespace {

struct CreatureCounts {
  int targets = 0;
  int at_scale = 0;
  int full_size = 0;
  int other = 0;
};

bool Near(double value, double wanted) {
  return std::fabs(value - wanted) < kAtScaleTolerance;
}

// Sorts one living target creature by its root scale against the scale it would get now.
void Count(host::APrimalDinoCharacter* creature, CreatureCounts& counts) {
  const GameHandles& game = GameHandleTable();
  if (host::IsFlagSetIn(creature, game.bIsDead)) return;
  if (host::IsFlagSetIn(creature, game.bActorIsBeingDestroyed)) return;
  const CreatureVerdict verdict = JudgeCreature(creature);
  if (!verdict.Target()) return;
  ++counts.targets;
  auto* root = host::FieldAt<host::USceneComponent*>(creature, game.RootComponent);
  if (root == nullptr) {
    ++counts.other;
    return;
  }
  const host::FVector now = host::FieldAt<host::FVector>(root, game.RelativeScale3D);
  const bool uniform = Near(now.Y, now.X) && Near(now.Z, now.X);
  if (uniform && verdict.Qualifies() && Near(now.X, verdict.Scale()))
    ++counts.at_scale;
  else if (uniform && Near(now.X, 1.0))
    ++counts.full_size;
  else
    ++counts.other;
}

std::string CreaturesLine() {
  host::UWorld* world = host::CurrentWorld();
  if (world == nullptr) return "Creatures: no world loaded.";
  CreatureCounts counts;
  const WalkResult walk = VisitCreatures(world, "count", [&](host::APrimalDinoCharacter* c) {
    Count(c, counts);
    return false;
  });
  if (!walk.listed) return "Creatures: could not be listed: " + walk.error;
  return fmt::format(
      "Creatures: {} of a target class in the world: {} at their scale, {} at full size, {} "
      "other; {} recorded as shrunk.",
      counts.targets, counts.at_scale, counts.full_size, counts.other,
      RecordedShrunkCreatures().size());
}

}  // namespace

const host::FLinearColor& StatusColour() {
  return TinyhordeOff() ? kRefusalColour : kSuccessColour;
}

std::string StatusText() {
  const std::string first =
      TinyhordeOff() ? OffReply()
      : ShrinkingAllowed()
          ? "[Tinyhorde] Status: shrinking on."
          : "[Tinyhorde] Status: shrinking off, restoring only (" + ShrinkingOffReason() + ").";
  const std::string path = LastLoadedConfigPath();
  const std::string config =
      path.empty() ? "Config: built-in defaults (no config.json found)." : "Config: " + path;
  Settings settings;
  {
    const std::lock_guard lock(SettingsMutex);
    settings = PluginSettings;
  }
  std::string values;
  for (const SettingDescription& description : SettingDescriptions()) {
    if (!description.inStatus) continue;
    if (!values.empty()) values += ' ';
    values += std::string(description.key) + "=" + SettingStatusValue(description, settings);
  }
  std::string creatures;
  try {
    creatures = CreaturesLine();
  } catch (const std::exception& error) {
    // A game that lacks a name the count reads, say: the rest of the status still answers.
    creatures = std::string("Creatures: could not be counted: ") + error.what();
  }
  std::string text = first + "\n" + config + "\n" + values + "\n" + creatures;
  // What the game lacks and what that turned off, when Tinyhorde runs without it.
  if (const std::string lacked = LackedNamesText(); !lacked.empty()) text += "\n" + lacked;
  // Hooks on names the SDK does not show that start-up left out: said last, when there are any.
  if (const std::string left_out = UnverifiedHooksText(); !left_out.empty())
    text += "\n" + left_out;
  return text;
}

void OnConsoleStatus(host::APlayerController* caller, host::FString* /*line*/, bool /*flag*/) {
  Contained("Console status", [caller] { AnswerConsole(caller, StatusColour(), StatusText()); });
}

void OnRconStatus(host::RCONClientConnection* connection, host::RCONPacket* packet,
                  host::UWorld* /*world*/) {
  AnswerRcon(connection, packet, "RCON status", [] { return StatusText() + "\n"; });
}

}  // namespace tinyhorde
