#include "table_listing.h"

#include <string>

#include "config/number_text.h"
#include "config/plugin_settings.h"
#include "config/setting_descriptions.h"

namespace installcheck {

namespace {

const char* AccessName(const tinyhorde::CommandRow& row) {
  if (row.chat == nullptr) return "none";
  switch (row.access) {
    case tinyhorde::ChatAccess::kAdministrators:
      return "administrators";
    case tinyhorde::ChatAccess::kEveryone:
      return "everyone";
  }
  return "unknown";
}

}  // namespace

void ListTables(std::span<const tinyhorde::CommandRow> commands, std::ostream& out) {
  for (const char* prefix : tinyhorde::kCommandPrefixes) out << "prefix " << prefix << "\n";
  out << "chat " << tinyhorde::kChatCommand << "\n";
  for (const tinyhorde::CommandRow& row : commands)
    out << "command " << row.word << " " << AccessName(row) << "\n";
  const tinyhorde::Settings defaults;
  std::string status;
  for (const tinyhorde::SettingDescription& description : tinyhorde::SettingDescriptions()) {
    out << "setting " << description.key;
    if (description.olderKey != nullptr) out << " " << description.olderKey;
    out << "\n";
    if (!description.inStatus) continue;
    if (!status.empty()) status += ' ';
    status += std::string(description.key) + "=" + SettingStatusValue(description, defaults);
  }
  out << "scale-bounds " << tinyhorde::ShortestNumberText(tinyhorde::kMinScale) << " "
      << tinyhorde::ShortestNumberText(tinyhorde::kMaxScale) << "\n";
  out << "status-defaults " << status << "\n";
  out << "end\n";
}

}  // namespace installcheck
