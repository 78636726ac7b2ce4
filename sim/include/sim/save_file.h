// The world save on disk: the creature records of the newest save, as JSON.
#pragma once

#include <filesystem>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/game.h"

namespace sim {

nlohmann::json RecordToJson(const StoredRecord& record);
StoredRecord RecordFromJson(const nlohmann::json& json);
nlohmann::json VectorToJson(const FVector& v);

// Writes the records in the order given; throws std::runtime_error when the file cannot be
// written.
void WriteSaveFile(const std::filesystem::path& file,
                   const std::vector<const StoredRecord*>& records);
// Throws std::runtime_error when there is no save or it cannot be read.
std::vector<StoredRecord> ReadSaveFile(const std::filesystem::path& file);

}  // namespace sim
