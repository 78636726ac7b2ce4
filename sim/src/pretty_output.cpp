#include "sim/pretty_output.h"

#include <algorithm>
#include <cstddef>

#include <fmt/format.h>

namespace sim {
namespace {

// The camera offset the tables show: the third-person one riders see by default.
constexpr char kShownCameraOffset[] = "TPVDefaultCameraOffset";

std::string Number(const nlohmann::json& value) {
  return value.is_number() ? fmt::format("{:g}", value.get<double>()) : value.dump();
}

// A vector as one number when its three components agree, as "(x, y, z)" otherwise.
std::string Vector(const nlohmann::json& value, bool collapse) {
  if (!value.is_array() || value.size() != 3) return value.dump();
  if (collapse && value[0] == value[1] && value[1] == value[2]) return Number(value[0]);
  return fmt::format("({}, {}, {})", Number(value[0]), Number(value[1]), Number(value[2]));
}

std::string YesNo(const nlohmann::json& value) {
  return value.is_boolean() ? (value.get<bool>() ? "yes" : "no") : value.dump();
}

std::string Text(const nlohmann::json& value) {
  return value.is_string() ? value.get<std::string>() : value.dump();
}

std::string Camera(const nlohmann::json& item) {
  const auto camera = item.find("camera");
  if (camera == item.end() || !camera->contains(kShownCameraOffset)) return "-";
  return Vector(camera->at(kShownCameraOffset), false);
}

// Rows of cells as lines, each column as wide as its widest cell, two spaces apart.
std::vector<std::string> Aligned(const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::size_t> widths;
  for (const auto& row : rows) {
    widths.resize(std::max(widths.size(), row.size()), 0);
    for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
  }
  std::vector<std::string> lines;
  for (const auto& row : rows) {
    std::string line;
    for (std::size_t i = 0; i < row.size(); ++i) {
      line += row[i];
      if (i + 1 < row.size()) line += std::string(widths[i] - row[i].size() + 2, ' ');
    }
    lines.push_back(line);
  }
  return lines;
}

void Table(std::vector<std::string>& lines, const std::string& title,
           std::vector<std::vector<std::string>> rows) {
  if (rows.size() == 1) {
    lines.push_back(title + ": none");
    return;
  }
  lines.push_back(title + ":");
  for (const auto& line : Aligned(rows)) lines.push_back("  " + line);
}

}  // namespace

std::vector<std::string> StateTables(const nlohmann::json& state) {
  std::vector<std::string> lines;
  lines.push_back(fmt::format(
      "clock {} s, {} live allocator blocks", Number(state.value("clock", nlohmann::json())),
      Number(
          state.value("memory", nlohmann::json::object()).value("live_blocks", nlohmann::json()))));
  std::vector<std::vector<std::string>> creatures = {
      {"id", "class", "tamed", "dead", "scale", kShownCameraOffset}};
  for (const auto& creature : state.value("creatures", nlohmann::json::array())) {
    creatures.push_back({Number(creature.value("id", nlohmann::json())),
                         Text(creature.value("class", nlohmann::json())),
                         YesNo(creature.value("tamed", nlohmann::json())),
                         YesNo(creature.value("dead", nlohmann::json())),
                         Vector(creature.value("root_scale", nlohmann::json()), true),
                         Camera(creature)});
  }
  Table(lines, "creatures", std::move(creatures));
  std::vector<std::vector<std::string>> stored = {
      {"id", "kind", "class", "scale", kShownCameraOffset}};
  for (const auto& record : state.value("stored", nlohmann::json::array())) {
    stored.push_back({Number(record.value("id", nlohmann::json())),
                      Text(record.value("kind", nlohmann::json())),
                      Text(record.value("class", nlohmann::json())),
                      Vector(record.value("root_scale", nlohmann::json()), true), Camera(record)});
  }
  Table(lines, "stored", std::move(stored));
  return lines;
}

void PrettyOutput::Echo(const std::string& line) {
  const auto start = line.find_first_not_of(" \t");
  if (start == std::string::npos || line[start] == '#') {
    out_(line);
  } else {
    out_("> " + line.substr(start));
  }
}

void PrettyOutput::Print(const std::string& tagged) {
  if (tagged == "ok") return;
  if (tagged.rfind("state ", 0) == 0) {
    const auto state = nlohmann::json::parse(tagged.substr(6), nullptr, false);
    if (!state.is_discarded()) {
      for (const auto& line : StateTables(state)) out_("  " + line);
      return;
    }
  }
  out_("  " + tagged);
}

void PrettyOutput::Summary(int held, int failed) {
  out_(fmt::format("expectations: {} held, {} failed", held, failed));
}

}  // namespace sim
