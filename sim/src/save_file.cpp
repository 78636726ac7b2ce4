#include "sim/save_file.h"

#include <fstream>
#include <stdexcept>
#include <utility>

#include "sim/memory.h"

namespace sim {

namespace {
FVector VectorFromJson(const nlohmann::json& json) {
  return FVector{json.at(0).get<double>(), json.at(1).get<double>(), json.at(2).get<double>()};
}
}  // namespace

nlohmann::json VectorToJson(const FVector& v) {
  return nlohmann::json::array({v.X, v.Y, v.Z});
}

nlohmann::json RecordToJson(const StoredRecord& record) {
  nlohmann::json camera = nlohmann::json::object();
  for (const auto& [name, value] : record.camera) camera[name] = VectorToJson(value);
  return {{"id", record.id},
          {"kind", record.kind},
          {"class", record.cls},
          {"root_scale", VectorToJson(record.root_scale)},
          {"base_dino_scale", VectorToJson(record.base_dino_scale)},
          {"mesh_scale", VectorToJson(record.mesh_scale)},
          {"camera", std::move(camera)}};
}

StoredRecord RecordFromJson(const nlohmann::json& json) {
  StoredRecord record;
  record.id = json.at("id").get<int>();
  record.kind = json.at("kind").get<std::string>();
  record.cls = json.at("class").get<std::string>();
  record.root_scale = VectorFromJson(json.at("root_scale"));
  record.base_dino_scale = VectorFromJson(json.at("base_dino_scale"));
  record.mesh_scale = VectorFromJson(json.at("mesh_scale"));
  for (const auto& [name, value] : json.at("camera").items())
    record.camera.emplace_back(name, VectorFromJson(value));
  const auto& state = json.at("state");
  record.team = state.at("team").get<std::int32_t>();
  record.untamed_team = state.at("untamed_team").get<std::int32_t>();
  record.owner = state.at("owner").get<std::int32_t>();
  record.did_setup_tamed = state.at("did_setup_tamed").get<bool>();
  record.dead = state.at("dead").get<bool>();
  record.tamer = Utf8ToUtf16(state.at("tamer").get<std::string>());
  record.tamed_name = Utf8ToUtf16(state.at("tamed_name").get<std::string>());
  return record;
}

void WriteSaveFile(const std::filesystem::path& file,
                   const std::vector<const StoredRecord*>& records) {
  // Every part is moved into its parent, never copied: the file is written once per save, the
  // whole world in it.
  nlohmann::json creatures = nlohmann::json::array();
  creatures.get_ref<nlohmann::json::array_t&>().reserve(records.size());
  for (const StoredRecord* saved : records) {
    const StoredRecord& record = *saved;
    auto json = RecordToJson(record);
    json["state"] = {{"team", record.team},
                     {"untamed_team", record.untamed_team},
                     {"owner", record.owner},
                     {"did_setup_tamed", record.did_setup_tamed},
                     {"dead", record.dead},
                     {"tamer", Utf16ToUtf8(record.tamer)},
                     {"tamed_name", Utf16ToUtf8(record.tamed_name)}};
    creatures.push_back(std::move(json));
  }
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::trunc);
  out << nlohmann::json{{"creatures", std::move(creatures)}}.dump(1) << '\n';
  if (!out) throw std::runtime_error("cannot write the save file " + file.string());
}

std::vector<StoredRecord> ReadSaveFile(const std::filesystem::path& file) {
  std::ifstream in(file);
  if (!in) throw std::runtime_error("no save file at " + file.string());
  const auto json = nlohmann::json::parse(in);
  std::vector<StoredRecord> records;
  for (const auto& creature : json.at("creatures")) records.push_back(RecordFromJson(creature));
  return records;
}

}  // namespace sim
