// Each kind of setting (config/setting_kinds.h) in a section of its own: how a value of the file
// is taken (Take, and Absent when neither name gives one), how the status line shows it (Shown)
// and which rules it keeps (Broken). The descriptions' functions below dispatch on the kind.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include <fmt/format.h>

#include "base/logger.h"
#include "config/number_text.h"
#include "config/setting_descriptions.h"
#include "config/setting_reading.h"

namespace tinyhorde {

namespace {

using nlohmann::json;

// The rules of a scale, written apart from InScaleRange so that a fault there shows here.
std::string BrokenScale(const std::string& shownKey, double value) {
  if (value > kMinScale && value < kMaxScale) return {};
  return fmt::format("{} = {} lies outside the open range {} to {}", shownKey, value,
                     ShortestNumberText(kMinScale), ShortestNumberText(kMaxScale));
}

// A scale from the file: nothing when the value is not a number, or (with a warning naming
// shownKey) when it lies outside InScaleRange.
std::optional<double> ScaleValue(const json& value, const std::string& shownKey) {
  if (!value.is_number()) return std::nullopt;
  const double scale = value.get<double>();
  if (!InScaleRange(scale)) {
    LogWarning(fmt::format("[Tinyhorde] Ignoring {} = {}: a scale must lie between {} and {}.",
                           shownKey, ShortestNumberText(scale), ShortestNumberText(kMinScale),
                           ShortestNumberText(kMaxScale)));
    return std::nullopt;
  }
  return scale;
}

// What every kind without a fallback does when neither name gives a value: nothing.
template <typename Kind>
void Absent(const Kind&, Settings&) {}

// --- A flag.
bool Take(const FlagSetting& kind, const json& value, const std::string&, Settings& settings) {
  if (!value.is_boolean()) return false;
  settings.*kind.field = value.get<bool>();
  return true;
}
std::string Shown(const FlagSetting& kind, const Settings& settings) {
  return settings.*kind.field ? "true" : "false";
}
std::string Broken(const FlagSetting&, const char*, const Settings&, const Settings&) {
  return {};
}

// --- A scale.
bool Take(const ScaleSetting& kind, const json& value, const std::string& name,
          Settings& settings) {
  const std::optional<double> scale = ScaleValue(value, name);
  if (scale) settings.*kind.field = *scale;
  return scale.has_value();
}
void Absent(const ScaleSetting& kind, Settings& settings) {
  if (kind.otherwise != nullptr) settings.*kind.field = settings.*kind.otherwise;
}
std::string Shown(const ScaleSetting& kind, const Settings& settings) {
  return fmt::format("{:.2f}", settings.*kind.field);
}
std::string Broken(const ScaleSetting& kind, const char* key, const Settings&,
                   const Settings& after) {
  return BrokenScale(key, after.*kind.field);
}

// --- A number with limits of its own.
bool Take(const BoundSetting& kind, const json& value, const std::string& name,
          Settings& settings) {
  if (!value.is_number()) return false;
  const double number = value.get<double>();
  if (!(number >= kind.lowest && number <= kind.highest)) {
    LogWarning(fmt::format("[Tinyhorde] Ignoring {} = {}: it must lie from {} to {}.", name,
                           ShortestNumberText(number), ShortestNumberText(kind.lowest),
                           ShortestNumberText(kind.highest)));
    return false;
  }
  settings.*kind.field = number;
  return true;
}
std::string Shown(const BoundSetting& kind, const Settings& settings) {
  return ShortestNumberText(settings.*kind.field);
}
std::string Broken(const BoundSetting& kind, const char* key, const Settings&,
                   const Settings& after) {
  const double value = after.*kind.field;
  if (value >= kind.lowest && value <= kind.highest) return {};
  return fmt::format("{} = {} lies outside its limits {} to {}", key, value,
                     ShortestNumberText(kind.lowest), ShortestNumberText(kind.highest));
}

// --- A whole number.
bool Take(const WholeNumberSetting& kind, const json& value, const std::string&,
          Settings& settings) {
  if (!value.is_number_integer()) return false;
  const std::uint64_t raw = value.is_number_unsigned()
                                ? value.get<std::uint64_t>()
                                : static_cast<std::uint64_t>(value.get<std::int64_t>());
  settings.*kind.field = static_cast<std::int32_t>(static_cast<std::uint32_t>(raw));
  return true;
}
std::string Shown(const WholeNumberSetting& kind, const Settings& settings) {
  return fmt::format("{}", settings.*kind.field);
}
std::string Broken(const WholeNumberSetting&, const char*, const Settings&, const Settings&) {
  return {};
}

// --- A list of texts.
bool Take(const ListSetting& kind, const json& value, const std::string&, Settings& settings) {
  if (!value.is_array()) return false;
  std::vector<std::string>& list = settings.*kind.field;
  list.clear();
  for (const json& element : value) {
    if (!element.is_string()) continue;
    std::string entry = element.get<std::string>();
    if (entry.empty() && kind.emptyEntryWarning != nullptr) {
      LogWarning(kind.emptyEntryWarning);
      continue;
    }
    list.push_back(std::move(entry));
  }
  return true;
}
std::string Shown(const ListSetting& kind, const Settings& settings) {
  return fmt::format("{}", (settings.*kind.field).size());
}
std::string Broken(const ListSetting& kind, const char* key, const Settings&,
                   const Settings& after) {
  if (kind.emptyEntryWarning == nullptr) return {};
  for (const std::string& entry : after.*kind.field)
    if (entry.empty())
      return fmt::format("{} holds an empty entry, which would exclude everything", key);
  return {};
}

// --- Names to scales. The object's members come in ascending byte order of their names, so of
// two names that lower to the same key the later one in that order wins.
bool Take(const ScaleMapSetting& kind, const json& value, const std::string& name,
          Settings& settings) {
  if (!value.is_object()) return false;
  for (const auto& [member, scale] : value.items()) {
    if (const auto taken = ScaleValue(scale, name + "." + member))
      (settings.*kind.field)[LowerBytes(member)] = *taken;
  }
  return true;
}
std::string Shown(const ScaleMapSetting& kind, const Settings& settings) {
  return fmt::format("{}", (settings.*kind.field).size());
}
std::string Broken(const ScaleMapSetting& kind, const char* key, const Settings& before,
                   const Settings& after) {
  for (const auto& [name, value] : after.*kind.field) {
    if (std::string broken = BrokenScale(std::string(key) + "." + name, value); !broken.empty())
      return broken;
    for (const char c : name)
      if (c >= 'A' && c <= 'Z') return fmt::format("{} key '{}' is not lower case", key, name);
  }
  for (const auto& entry : before.*kind.field)
    if ((after.*kind.field).count(entry.first) == 0)
      return fmt::format("{} lost its entry '{}'", key, entry.first);
  return {};
}

}  // namespace

void ReadSetting(const json& root, const SettingDescription& description, Settings& settings) {
  std::visit(
      [&](const auto& kind) {
        for (const char* name : {description.key, description.olderKey}) {
          if (name == nullptr) continue;
          const auto it = root.find(name);
          if (it != root.end() && Take(kind, *it, std::string(name), settings)) return;
        }
        Absent(kind, settings);
      },
      description.kind);
}

std::string SettingStatusValue(const SettingDescription& description, const Settings& settings) {
  return std::visit([&](const auto& kind) { return Shown(kind, settings); }, description.kind);
}

std::string SettingRuleBroken(const SettingDescription& description, const Settings& before,
                              const Settings& after) {
  return std::visit([&](const auto& kind) { return Broken(kind, description.key, before, after); },
                    description.kind);
}

}  // namespace tinyhorde
