#include "sim/console.h"

#include <cmath>
#include <sstream>
#include <stdexcept>
#include <vector>

#include <fmt/format.h>

#include "sim/console_words.h"
#include "sim/game_functions.h"
#include "sim/save_file.h"
#include "sim/server.h"

namespace sim {

namespace {

void Require(bool condition, const std::string& usage) {
  if (!condition) throw std::runtime_error("usage: " + usage);
}

bool Matches(const nlohmann::json& actual, const nlohmann::json& expected) {
  if (actual.is_number() && expected.is_number())
    return std::fabs(actual.get<double>() - expected.get<double>()) <= 1e-6;
  if (actual.is_array() && actual.size() == 3 && expected.is_number()) {
    for (const auto& component : actual)
      if (!Matches(component, expected)) return false;
    return true;
  }
  if (actual.is_array() && expected.is_array() && actual.size() == expected.size()) {
    for (std::size_t i = 0; i < actual.size(); ++i)
      if (!Matches(actual[i], expected[i])) return false;
    return true;
  }
  return actual == expected;
}

}  // namespace

void Console::Execute(const std::string& line) {
  const auto [command, rest] = SplitFirst(line);
  if (command.empty() || command[0] == '#') return;
  closing_ = "ok";
  server_.HoldErrors();
  try {
    Dispatch(command, rest);
  } catch (const std::exception& error) {
    server_.Error(error.what());
  } catch (...) {
    server_.TakeHeldErrors();
    throw;
  }
  const std::vector<std::string> errors = server_.TakeHeldErrors();
  if (command == "expect") ++(errors.empty() ? expectations_held_ : expectations_failed_);
  server_.Print(errors.empty() ? closing_ : fmt::format("error {}", fmt::join(errors, "; ")));
}

int Console::PlayerOrCreature(const std::string& token) const {
  const int id = ParseId(token);
  auto& game = server_.GameWorld();
  if (!game.IsPlayerId(id) && !game.IsCreatureId(id))
    throw std::runtime_error("no player or creature " + token);
  return id;
}

void Console::RunRcon(const std::string& line, std::int32_t request_id,
                      const std::function<void(int, int, const std::string&)>& send) {
  RCONClientConnection connection;
  connection.send = [&](int id, int type, const std::u16string& text) {
    send(id, type, Utf16ToUtf8(text));
  };
  RCONPacket packet;
  packet.Id = request_id;
  packet.Type = 2;
  packet.Body = MakeGameString(Utf8ToUtf16(line));
  packet.Length = static_cast<std::int32_t>(line.size() + 10);
  simhost::RconCommand handler;
  if (server_.Commands().rcon.Find(Utf8ToUtf16(line), handler)) {
    try {
      handler(&connection, &packet, server_.GameWorld().World());
    } catch (...) {
      server_.EndForEscapedException("RCON command " + SplitFirst(line).first);
    }
  } else {
    send(request_id, 0, "Server received, But no response!! \n");
  }
  ReleaseGameString(packet.Body);
}

nlohmann::json Console::State() const {
  auto& game = server_.GameWorld();
  nlohmann::json creatures = nlohmann::json::array();
  for (const auto& [id, dino] : game.Creatures()) {
    const auto& actor = dino->PrimalCharacter.Character.Pawn.Actor;
    nlohmann::json camera = nlohmann::json::object();
    for (const auto& [name, value] : game.CameraOffsets(dino)) camera[name] = VectorToJson(value);
    const bool tamed = TestBit(dino->DinoFlags, kBitDidSetupTamed) || actor.TargetingTeam >= 50000;
    creatures.push_back({{"id", id},
                         {"class", ClassTree::Info(actor.Object.Base.ClassPrivate).name},
                         {"tamed", tamed},
                         {"dead", TestBit(dino->PrimalCharacter.CharacterFlags, kBitIsDead)},
                         {"root_scale", VectorToJson(game.RootScale(dino))},
                         {"base_dino_scale", VectorToJson(dino->BaseDinoScale)},
                         {"mesh_scale", VectorToJson(game.MeshScale(dino))},
                         {"camera", camera}});
  }
  nlohmann::json stored = nlohmann::json::array();
  for (const auto& record : game.Stored()) stored.push_back(RecordToJson(record));
  return {{"clock", server_.Clock().Now()},
          {"creatures", creatures},
          {"stored", stored},
          {"memory", {{"live_blocks", server_.Memory().LiveBlocks()}}}};
}

void Console::Expect(const std::string& path, const std::string& value) {
  const auto state = State();
  std::vector<std::string> parts;
  std::stringstream in(path);
  for (std::string part; std::getline(in, part, '.');) parts.push_back(part);
  const nlohmann::json* at = &state;
  std::size_t i = 0;
  if (!parts.empty() && (parts[0] == "creature" || parts[0] == "stored")) {
    Require(parts.size() >= 3, "expect creature.<id>.<key> | stored.<id>.<key> ...");
    const int id = ParseId(parts[1]);
    const auto& list = state.at(parts[0] == "creature" ? "creatures" : "stored");
    at = nullptr;
    for (const auto& item : list)
      if (item.at("id") == id) at = &item;
    if (at == nullptr)
      throw std::runtime_error("expect " + path + ": no " + parts[0] + " " + parts[1]);
    i = 2;
  }
  for (; i < parts.size(); ++i) {
    if (!at->is_object() || !at->contains(parts[i]))
      throw std::runtime_error("expect " + path + ": no such value");
    at = &at->at(parts[i]);
  }
  nlohmann::json expected;
  try {
    expected = nlohmann::json::parse(value);
  } catch (const std::exception&) {
    expected = value;
  }
  if (!Matches(*at, expected))
    throw std::runtime_error("expect " + path + ": expected " + expected.dump() + ", got " +
                             at->dump());
}

}  // namespace sim
