#include "sim/console.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include <fmt/format.h>

#include "sim/game_functions.h"
#include "sim/save_file.h"
#include "sim/server.h"

namespace sim {

namespace {

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// Splits off the first word; the rest keeps its spacing but for the one separating space run.
std::pair<std::string, std::string> SplitFirst(const std::string& text) {
  const auto start = text.find_first_not_of(" \t");
  if (start == std::string::npos) return {"", ""};
  const auto end = text.find_first_of(" \t", start);
  if (end == std::string::npos) return {text.substr(start), ""};
  const auto rest = text.find_first_not_of(" \t", end);
  return {text.substr(start, end - start), rest == std::string::npos ? "" : text.substr(rest)};
}

int ParseId(const std::string& token) {
  std::size_t used = 0;
  int value = 0;
  try {
    value = std::stoi(token, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != token.size() || token.empty()) throw std::runtime_error("not an id: '" + token + "'");
  return value;
}

double ParseNumber(const std::string& token) {
  std::size_t used = 0;
  double value = 0;
  try {
    value = std::stod(token, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != token.size() || token.empty())
    throw std::runtime_error("not a number: '" + token + "'");
  return value;
}

void Require(bool condition, const std::string& usage) {
  if (!condition) throw std::runtime_error("usage: " + usage);
}

// A file path under the root; absolute paths and paths leaving the root are refused.
std::filesystem::path UnderRoot(const std::filesystem::path& root, const std::string& relative) {
  const std::filesystem::path path(relative);
  if (path.is_absolute()) throw std::runtime_error("paths are relative to the server root");
  const auto normal = path.lexically_normal();
  if (normal.empty() || *normal.begin() == "..")
    throw std::runtime_error("the path leaves the server root: " + relative);
  return root / normal;
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

void Console::Dispatch(const std::string& command, const std::string& rest) {
  auto& game = server_.GameWorld();
  const auto args = Words(rest);
  auto ok_made = [&](const char* kind, int id) { closing_ = fmt::format("ok {} {}", kind, id); };
  auto ok = [&] { closing_ = "ok"; };

  if (command == "player") {
    Require(args.size() == 1 || (args.size() == 2 && args[1] == "admin"), "player <name> [admin]");
    ok_made("player", game.AddPlayer(args[0], args.size() == 2));
  } else if (command == "spawn") {
    Require(!args.empty(), "spawn <class> [tamed <player>] [team <n>]");
    std::optional<int> tamer, team;
    for (std::size_t i = 1; i < args.size(); i += 2) {
      Require(i + 1 < args.size() && (args[i] == "tamed" || args[i] == "team"),
              "spawn <class> [tamed <player>] [team <n>]");
      (args[i] == "tamed" ? tamer : team) = ParseId(args[i + 1]);
    }
    ok_made("creature", game.Spawn(args[0], tamer, team));
  } else if (command == "tame") {
    Require(args.size() == 2, "tame <creature> <player>");
    game.Tame(ParseId(args[0]), ParseId(args[1]));
    ok();
  } else if (command == "team") {
    Require(args.size() == 2, "team <creature> <n>");
    game.ChangeTeam(ParseId(args[0]), ParseId(args[1]));
    ok();
  } else if (command == "ride") {
    Require(args.size() == 2, "ride <creature> <player>");
    game.Ride(ParseId(args[0]), ParseId(args[1]));
    ok();
  } else if (command == "dismount") {
    Require(args.size() == 1, "dismount <creature>");
    game.Dismount(ParseId(args[0]));
    ok();
  } else if (command == "camera") {
    Require(args.size() == 1 || (args.size() == 2 && args[1] == "simple"),
            "camera <player or creature> [simple]");
    closing_ = fmt::format("ok {}", game.Camera(PlayerOrCreature(args[0]), args.size() == 2));
  } else if (command == "stasis" || command == "wake") {
    Require(args.size() == 1, command + " <creature>");
    command == "stasis" ? game.EnterStasis(ParseId(args[0])) : game.Wake(ParseId(args[0]));
    ok();
  } else if (command == "damage") {
    Require(args.size() == 2 || args.size() == 3, "damage <creature> <causer class> [amount]");
    const double amount = args.size() == 3 ? ParseNumber(args[2]) : 10.0;
    closing_ = fmt::format(
        "ok {}", game.Damage(PlayerOrCreature(args[0]), args[1], static_cast<float>(amount)));
  } else if (command == "kill" || command == "destroy") {
    Require(args.size() == 1, command + " <creature>");
    command == "kill" ? game.Kill(ParseId(args[0])) : game.DestroyCreature(ParseId(args[0]));
    ok();
  } else if (command == "cryo") {
    Require(args.size() == 2, "cryo <creature> <player>");
    ok_made("pod", game.Cryo(ParseId(args[0]), ParseId(args[1])));
  } else if (command == "uncryo") {
    Require(args.size() == 2, "uncryo <pod> <player>");
    ok_made("creature", game.Uncryo(ParseId(args[0]), ParseId(args[1])));
  } else if (command == "upload") {
    Require(args.size() == 2, "upload <creature> <player>");
    ok_made("upload", game.Upload(ParseId(args[0]), ParseId(args[1])));
  } else if (command == "download") {
    Require(args.size() == 2, "download <upload> <player>");
    ok_made("creature", game.Download(ParseId(args[0]), ParseId(args[1])));
  } else if (command == "export") {
    Require(args.size() == 2, "export <creature> <player>");
    ok_made("export", game.Export(ParseId(args[0]), ParseId(args[1])));
  } else if (command == "snapshot") {
    Require(args.size() == 1, "snapshot <creature>");
    ok_made("snapshot", game.Snapshot(ParseId(args[0])));
  } else if (command == "save" || command == "load") {
    Require(args.empty(), command);
    command == "save" ? game.Save() : game.Load();
    ok();
  } else if (command == "wait") {
    Require(args.size() == 1, "wait <seconds>");
    const double seconds = ParseNumber(args[0]);
    if (!(seconds >= 0)) throw std::runtime_error("wait takes a number of seconds, 0 or more");
    // A timer callback is plugin code: an exception out of it ends the server.
    server_.Clock().Advance(
        seconds, [&](const std::string& what) { server_.End("Unhandled exception from " + what); });
    ok();
  } else if (command == "console") {
    const auto [who, text] = SplitFirst(rest);
    Require(!who.empty(), "console <player or -> <line>");
    void* controller = who == "-" ? nullptr : game.PlayerById(ParseId(who)).controller;
    simhost::ConsoleCommand handler;
    if (!server_.Commands().console.Find(Utf8ToUtf16(text), handler))
      throw std::runtime_error("no console command '" + SplitFirst(text).first + "'");
    FString typed = MakeGameString(Utf8ToUtf16(text));
    try {
      handler(controller, &typed, false);
    } catch (...) {
      server_.EndForEscapedException("console command " + SplitFirst(text).first);
    }
    ReleaseGameString(typed);
    ok();
  } else if (command == "chat") {
    const auto [who, text] = SplitFirst(rest);
    Require(!who.empty(), "chat <player> <line>");
    const int player = ParseId(who);
    void* controller = game.PlayerById(player).controller;
    if (game.World() == nullptr) throw std::runtime_error("there is no chat while no world is up");
    simhost::ChatCommand handler;
    // A line the spam gate drops reaches no command.
    if (game.AcceptChatLine(player, server_.Clock().Now()) &&
        server_.Commands().chat.Find(Utf8ToUtf16(text), handler)) {
      FString message = MakeGameString(Utf8ToUtf16(text));
      try {
        handler(controller, &message, 0, 0);
      } catch (...) {
        server_.EndForEscapedException("chat command " + SplitFirst(text).first);
      }
      ReleaseGameString(message);
    }
    ok();
  } else if (command == "rcon") {
    const std::int32_t id = next_request_++;
    RunRcon(rest, id, [&](int reply_id, int, const std::string& text) {
      server_.Print(fmt::format("rcon {} {}", reply_id, nlohmann::json(text).dump()));
    });
  } else if (command == "plugin") {
    Require(args.size() == 1 && (args[0] == "load" || args[0] == "unload"),
            "plugin load | plugin unload");
    args[0] == "load" ? server_.Plugin().Load() : server_.Plugin().Unload();
    ok();
  } else if (command == "world") {
    Require(args.size() == 1 && (args[0] == "up" || args[0] == "down"), "world up | world down");
    game.SetWorldUp(args[0] == "up");
    ok();
  } else if (command == "write") {
    const auto [path, text] = SplitFirst(rest);
    Require(!path.empty(), "write <path> <text>");
    const auto file = UnderRoot(server_.Root(), path);
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::trunc | std::ios::binary);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path);
    ok();
  } else if (command == "rm") {
    Require(args.size() == 1, "rm <path>");
    std::filesystem::remove_all(UnderRoot(server_.Root(), args[0]));
    ok();
  } else if (command == "state") {
    server_.Print("state " + State().dump());
  } else if (command == "expect") {
    const auto [path, value] = SplitFirst(rest);
    Require(!path.empty() && !value.empty(), "expect <path> <value>");
    Expect(path, value);
  } else if (command == "host") {
    // Test controls of the host: refuse a hook, forget a game name (it is unknown from now on,
    // with all that follows), make a game function fail or work again, make the log sinks fail
    // or work again.
    const char* usage =
        "host refuse <hook name> | host forget <game name> | host fail <function name> | "
        "host heal <function name> | host fail-log | host heal-log";
    Require(!args.empty(), usage);
    const std::string& control = args[0];
    if (args.size() == 2 && control == "refuse") {
      server_.Hooks().Refuse(args[1]);
    } else if (args.size() == 2 && control == "forget") {
      server_.Lookup().MakeUnknown(args[1]);
    } else if (args.size() == 2 && control == "fail") {
      server_.Faults().Fail(args[1]);
    } else if (args.size() == 2 && control == "heal") {
      server_.Faults().Heal(args[1]);
    } else if (args.size() == 1 && control == "fail-log") {
      server_.Faults().FailLog();
    } else if (args.size() == 1 && control == "heal-log") {
      server_.Faults().HealLog();
    } else {
      Require(false, usage);
    }
    ok();
  } else {
    throw std::runtime_error("unknown command '" + command + "'");
  }
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
