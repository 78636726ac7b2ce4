#include "base/game_names_check.h"

#include <fmt/format.h>

#include "base/join_names.h"
#include "base/logger.h"
#include "host/services.h"

namespace tinyhorde {

namespace {

namespace feature = host::feature;

std::vector<std::string> absent_names;
// Every absent name, marked hooks included.
std::vector<std::string> absent_any;
host::Features features_off = 0;

// The features as an owner reads them on the start-up line and in the status, in this order.
struct FeatureText {
  host::Features bit;
  const char* text;
};
constexpr FeatureText kFeatureTexts[] = {
    {feature::kRestoring, "restoring"},
    {feature::kShrinking, "shrinking"},
    {feature::kBeginPlayTrigger, "the begin-play trigger"},
    {feature::kReleaseTrigger, "the release trigger"},
    {feature::kWakeTrigger, "the wake trigger"},
    {feature::kTameTrigger, "the tame trigger"},
    {feature::kTeamChangeTrigger, "the team-change trigger"},
    {feature::kRideTrigger, "the ride trigger"},
    {feature::kDelayedPasses, "the delayed passes"},
    {feature::kWorldWalk, "the world walk (resizeall, reload, setscale)"},
    {feature::kCamera, "camera scaling"},
    {feature::kTamedSignTeam, "the tamed test's team sign"},
    {feature::kTamedSignOwner, "the tamed test's owner sign"},
    {feature::kTamedSignTamer, "the tamed test's tamer sign"},
    {feature::kTamedSignName, "the tamed test's name sign"},
    {feature::kTamedSignUntamedTeam, "the tamed test's untamed-team sign"},
    {feature::kChatAdminCommands, "the chat's admin commands"},
    {feature::kChatSubcommands, "the chat's subcommands"},
    {feature::kRconReplies, "RCON commands"},
    {feature::kPlayerReplies, "replies to players (sent to the log)"},
};
static_assert(std::size(kFeatureTexts) == 20, "a feature without its text");

std::string FeaturesText(host::Features features) {
  std::string text;
  for (const FeatureText& entry : kFeatureTexts)
    if ((features & entry.bit) != 0) text += (text.empty() ? "" : ", ") + std::string(entry.text);
  return text;
}

}  // namespace

void CheckGameNamesAtStart() {
  absent_names.clear();
  absent_any.clear();
  features_off = 0;
  const host::GameNamesCheck check = host::CheckGameNames();
  std::size_t present = 0;
  bool unknown = false;
  for (std::size_t i = 0; i < std::size(host::kGameNames) && i < check.presence.size(); ++i) {
    const host::GameName& name = *host::kGameNames[i];
    switch (check.presence[i]) {
      case host::NamePresence::Present:
        ++present;
        break;
      case host::NamePresence::Absent:
        absent_any.emplace_back(name.name);
        if (name.unverified_because == nullptr) {
          absent_names.emplace_back(name.name);
          features_off |= name.features;
        }
        break;
      case host::NamePresence::Unknown:
        // A marked hook the cache cannot vouch for keeps its own rule; every other name makes
        // the whole check unknown.
        if (name.unverified_because == nullptr) unknown = true;
        break;
    }
  }
  if (check.presence.size() != std::size(host::kGameNames)) unknown = true;
  if (TinyhordeOff()) {
    LogWarning(fmt::format(
        "[Tinyhorde] Off: the game lacks {}. No creature is resized or restored; the server "
        "runs on. A Tinyhorde for this game version is needed.",
        JoinNames(absent_names)));
  } else if (!absent_names.empty()) {
    LogWarning(LackedNamesText());
  } else if (unknown) {
    LogWarning(fmt::format(
        "[Tinyhorde] Game names not checked ({}): a name the game lacks would stop the server.",
        check.unknown_reason.empty() ? "no answer from the cache" : check.unknown_reason));
  } else {
    LogInfo(fmt::format(
        "[Tinyhorde] Game names checked against the host's offsets cache: all {} present ({}, "
        "{:.0f} ms).",
        present, check.generation, check.milliseconds));
  }
}

bool IsAbsentGameName(const host::GameName& name) {
  for (const auto& absent : absent_any)
    if (absent == name.name) return true;
  return false;
}

const std::vector<std::string>& AbsentGameNames() {
  return absent_names;
}

std::vector<std::string> AbsentNamesShrinkingNeeds() {
  std::vector<std::string> names;
  for (const auto& absent : absent_names) {
    const host::GameName* entry = host::FindGameName(absent);
    if (entry != nullptr && (entry->features & (feature::kRestoring | feature::kShrinking)) != 0)
      names.push_back(absent);
  }
  return names;
}

host::Features FeaturesOff() {
  return features_off;
}

bool FeatureOn(host::Features features) {
  return (features_off & features) == 0;
}

bool TinyhordeOff() {
  return (features_off & feature::kRestoring) != 0;
}

std::string OffReply() {
  return "[Tinyhorde] Off: the game lacks " + JoinNames(absent_names) + ".";
}

std::string LackedNamesText() {
  if (absent_names.empty() || TinyhordeOff()) return {};
  return "[Tinyhorde] The game lacks " + JoinNames(absent_names) + ": " +
         FeaturesText(features_off) + " off; the rest runs.";
}

void ForgetGameNamesCheckForTests() {
  absent_names.clear();
  absent_any.clear();
  features_off = 0;
}

}  // namespace tinyhorde
