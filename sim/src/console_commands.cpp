// The console's commands, one row each: the name (a line's first word), the usage text a refused
// line is told, and what the command does. Adding a command is adding a row.
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

#include <fmt/format.h>

#include "sim/console.h"
#include "sim/console_words.h"
#include "sim/game_functions.h"
#include "sim/server.h"

namespace sim {

// What a row runs with. Every command closes with "ok" unless it says otherwise (Made, Answer),
// and is refused by throwing std::runtime_error, which the console prints as its error line.
struct Console::Call {
  Console& console;
  const std::string& rest;        // the line after the command's name
  std::vector<std::string> args;  // the words of `rest`
  std::string_view usage;         // the row's usage text

  // Refuses the line with "usage: <usage>" unless `condition` holds.
  void Require(bool condition) const {
    if (!condition) throw std::runtime_error("usage: " + std::string(usage));
  }
  Server& server() const { return console.server_; }
  Game& game() const { return console.server_.GameWorld(); }
  // Closes the command with "ok <kind> <id>": the command made the thing with that id.
  void Made(const char* kind, int id) const {
    console.closing_ = fmt::format("ok {} {}", kind, id);
  }
  // Closes the command with "ok <text>".
  void Answer(const std::string& text) const { console.closing_ = "ok " + text; }
};

namespace {

std::optional<ArchiveLayout> ParseArchiveLayout(const std::string& name) {
  if (name == "editor") return ArchiveLayout::Editor;
  if (name == "cooked") return ArchiveLayout::Cooked;
  if (name == "cooked-moved") return ArchiveLayout::CookedMoved;
  return std::nullopt;
}

// A command of another plugin, owned by its own module: it answers "<name> ran" (over RCON as the
// reply, elsewhere as a host log line), so a test can see which plugin's command a line reached.
constexpr char16_t kOtherModule[] = u"OtherPlugin";
// False for an unknown registry.
bool RegisterOtherModuleCommand(Server& server, const std::string& registry,
                                const std::string& name) {
  const std::u16string wide = Utf8ToUtf16(name);
  const std::string answer = "[OtherPlugin] " + name + " ran";
  auto log = [&server, answer] { server.Logs().Host().info(answer); };
  if (registry == "console") {
    server.Commands().console.Add(
        wide, [log](void*, void*, bool) { log(); }, kOtherModule);
  } else if (registry == "rcon") {
    server.Commands().rcon.Add(
        wide,
        [answer](void* connection, void* packet, void*) {
          static_cast<RCONClientConnection*>(connection)
              ->send(static_cast<RCONPacket*>(packet)->Id, 0, Utf8ToUtf16(answer));
        },
        kOtherModule);
  } else if (registry == "chat") {
    server.Commands().chat.Add(
        wide, [log](void*, void*, int, int) { log(); }, kOtherModule);
  } else {
    return false;
  }
  return true;
}

}  // namespace

struct Console::Command {
  std::string_view name;
  std::string_view usage;
  void (*run)(const Call& call);
};

constexpr Console::Command Console::kCommands[] = {
    {"player", "player <name> [admin]",
     [](const Call& c) {
       c.Require(c.args.size() == 1 || (c.args.size() == 2 && c.args[1] == "admin"));
       c.Made("player", c.game().AddPlayer(c.args[0], c.args.size() == 2));
     }},
    {"spawn", "spawn <class> [tamed <player>] [team <n>]",
     [](const Call& c) {
       c.Require(!c.args.empty());
       std::optional<int> tamer, team;
       for (std::size_t i = 1; i < c.args.size(); i += 2) {
         c.Require(i + 1 < c.args.size() && (c.args[i] == "tamed" || c.args[i] == "team"));
         (c.args[i] == "tamed" ? tamer : team) = ParseId(c.args[i + 1]);
       }
       c.Made("creature", c.game().Spawn(c.args[0], tamer, team));
     }},
    {"tame", "tame <creature> <player>",
     [](const Call& c) {
       c.Require(c.args.size() == 2);
       c.game().Tame(ParseId(c.args[0]), ParseId(c.args[1]));
     }},
    {"team", "team <creature> <n>",
     [](const Call& c) {
       c.Require(c.args.size() == 2);
       c.game().ChangeTeam(ParseId(c.args[0]), ParseId(c.args[1]));
     }},
    {"ride", "ride <creature> <player>",
     [](const Call& c) {
       c.Require(c.args.size() == 2);
       c.game().Ride(ParseId(c.args[0]), ParseId(c.args[1]));
     }},
    {"dismount", "dismount <creature>",
     [](const Call& c) {
       c.Require(c.args.size() == 1);
       c.game().Dismount(ParseId(c.args[0]));
     }},
    {"camera", "camera <player or creature> [simple]",
     [](const Call& c) {
       c.Require(c.args.size() == 1 || (c.args.size() == 2 && c.args[1] == "simple"));
       c.Answer(fmt::format(
           "{}", c.game().Camera(c.console.PlayerOrCreature(c.args[0]), c.args.size() == 2)));
     }},
    {"stasis", "stasis <creature>",
     [](const Call& c) {
       c.Require(c.args.size() == 1);
       c.game().EnterStasis(ParseId(c.args[0]));
     }},
    {"wake", "wake <creature>",
     [](const Call& c) {
       c.Require(c.args.size() == 1);
       c.game().Wake(ParseId(c.args[0]));
     }},
    {"damage", "damage <creature> <causer class> [amount]",
     [](const Call& c) {
       c.Require(c.args.size() == 2 || c.args.size() == 3);
       const double amount = c.args.size() == 3 ? ParseNumber(c.args[2]) : 10.0;
       c.Answer(fmt::format("{}", c.game().Damage(c.console.PlayerOrCreature(c.args[0]), c.args[1],
                                                  static_cast<float>(amount))));
     }},
    {"kill", "kill <creature>",
     [](const Call& c) {
       c.Require(c.args.size() == 1);
       c.game().Kill(ParseId(c.args[0]));
     }},
    {"destroy", "destroy <creature>",
     [](const Call& c) {
       c.Require(c.args.size() == 1);
       c.game().DestroyCreature(ParseId(c.args[0]));
     }},
    {"cryo", "cryo <creature> <player>",
     [](const Call& c) {
       c.Require(c.args.size() == 2);
       c.Made("pod", c.game().Cryo(ParseId(c.args[0]), ParseId(c.args[1])));
     }},
    {"uncryo", "uncryo <pod> <player>",
     [](const Call& c) {
       c.Require(c.args.size() == 2);
       c.Made("creature", c.game().Uncryo(ParseId(c.args[0]), ParseId(c.args[1])));
     }},
    {"upload", "upload <creature> <player>",
     [](const Call& c) {
       c.Require(c.args.size() == 2);
       c.Made("upload", c.game().Upload(ParseId(c.args[0]), ParseId(c.args[1])));
     }},
    {"download", "download <upload> <player>",
     [](const Call& c) {
       c.Require(c.args.size() == 2);
       c.Made("creature", c.game().Download(ParseId(c.args[0]), ParseId(c.args[1])));
     }},
    {"export", "export <creature> <player>",
     [](const Call& c) {
       c.Require(c.args.size() == 2);
       c.Made("export", c.game().Export(ParseId(c.args[0]), ParseId(c.args[1])));
     }},
    {"snapshot", "snapshot <creature>",
     [](const Call& c) {
       c.Require(c.args.size() == 1);
       c.Made("snapshot", c.game().Snapshot(ParseId(c.args[0])));
     }},
    {"save", "save",
     [](const Call& c) {
       c.Require(c.args.empty());
       c.game().Save();
     }},
    {"load", "load",
     [](const Call& c) {
       c.Require(c.args.empty());
       c.game().Load();
     }},
    {"wait", "wait <seconds>",
     [](const Call& c) {
       c.Require(c.args.size() == 1);
       const double seconds = ParseNumber(c.args[0]);
       if (!(seconds >= 0)) throw std::runtime_error("wait takes a number of seconds, 0 or more");
       // A timer callback is plugin code: an exception out of it ends the server.
       Server& server = c.server();
       server.Clock().Advance(seconds, [&server](const std::string& what) {
         server.End("Unhandled exception from " + what);
       });
     }},
    {"console", "console <player or -> <line>",
     [](const Call& c) {
       const auto [who, text] = SplitFirst(c.rest);
       c.Require(!who.empty());
       void* controller = who == "-" ? nullptr : c.game().PlayerById(ParseId(who)).controller;
       simhost::ConsoleCommand handler;
       if (!c.server().Commands().console.Find(Utf8ToUtf16(text), handler))
         throw std::runtime_error("no console command '" + SplitFirst(text).first + "'");
       FString typed = MakeGameString(Utf8ToUtf16(text));
       try {
         handler(controller, &typed, false);
       } catch (...) {
         c.server().EndForEscapedException("console command " + SplitFirst(text).first);
       }
       ReleaseGameString(typed);
     }},
    {"chat", "chat <player> <line>",
     [](const Call& c) {
       const auto [who, text] = SplitFirst(c.rest);
       c.Require(!who.empty());
       const int player = ParseId(who);
       void* controller = c.game().PlayerById(player).controller;
       if (c.game().World() == nullptr)
         throw std::runtime_error("there is no chat while no world is up");
       simhost::ChatCommand handler;
       // A line the spam gate drops reaches no command.
       if (c.game().AcceptChatLine(player, c.server().Clock().Now()) &&
           c.server().Commands().chat.Find(Utf8ToUtf16(text), handler)) {
         FString message = MakeGameString(Utf8ToUtf16(text));
         try {
           handler(controller, &message, 0, 0);
         } catch (...) {
           c.server().EndForEscapedException("chat command " + SplitFirst(text).first);
         }
         ReleaseGameString(message);
       }
     }},
    {"rcon", "rcon <line>",
     [](const Call& c) {
       const std::int32_t id = c.console.next_request_++;
       Server& server = c.server();
       c.console.RunRcon(c.rest, id, [&server](int reply_id, int, const std::string& text) {
         server.Print(fmt::format("rcon {} {}", reply_id, nlohmann::json(text).dump()));
       });
     }},
    {"plugin", "plugin load | plugin unload",
     [](const Call& c) {
       c.Require(c.args.size() == 1 && (c.args[0] == "load" || c.args[0] == "unload"));
       c.args[0] == "load" ? c.server().Plugin().Load() : c.server().Plugin().Unload();
     }},
    {"world", "world up | world down",
     [](const Call& c) {
       c.Require(c.args.size() == 1 && (c.args[0] == "up" || c.args[0] == "down"));
       c.game().SetWorldUp(c.args[0] == "up");
     }},
    {"write", "write <path> <text>",
     [](const Call& c) {
       const auto [path, text] = SplitFirst(c.rest);
       c.Require(!path.empty());
       const auto file = UnderRoot(c.server().Root(), path);
       std::filesystem::create_directories(file.parent_path());
       std::ofstream out(file, std::ios::trunc | std::ios::binary);
       out << text;
       if (!out) throw std::runtime_error("cannot write " + path);
     }},
    {"rm", "rm <path>",
     [](const Call& c) {
       c.Require(c.args.size() == 1);
       std::filesystem::remove_all(UnderRoot(c.server().Root(), c.args[0]));
     }},
    {"state", "state",
     [](const Call& c) { c.server().Print("state " + c.console.State().dump()); }},
    {"expect", "expect <path> <value>",
     [](const Call& c) {
       const auto [path, value] = SplitFirst(c.rest);
       c.Require(!path.empty() && !value.empty());
       c.console.Expect(path, value);
     }},
    // Test controls of the host: refuse a hook, forget a game name (it is unknown from now on,
    // with all that follows) or give the game one it lacks by default, make a game function
    // fail or work again, make the log sinks fail or work again, break its offsets cache.
    {"host",
     "host refuse <hook name> | host forget <game name> | host know <game name> | "
     "host fail <function name> | "
     "host heal <function name> | host fail-log | host heal-log | "
     "host archive-layout editor|cooked|cooked-moved | host command console|rcon|chat <name> "
     "| " SIM_HOST_CACHE_USAGE,
     [](const Call& c) {
       c.Require(!c.args.empty());
       const std::string& control = c.args[0];
       Server& server = c.server();
       if (control == "cache") {
         RunCacheControl(server.OffsetsCache(),
                         std::vector<std::string>(c.args.begin() + 1, c.args.end()));
       } else if (c.args.size() == 2 && control == "refuse") {
         server.Hooks().Refuse(c.args[1]);
       } else if (c.args.size() == 2 && control == "forget") {
         server.Lookup().MakeUnknown(c.args[1]);
       } else if (c.args.size() == 2 && control == "know") {
         c.Require(server.Lookup().MakeKnown(c.args[1]));
       } else if (c.args.size() == 2 && control == "fail") {
         server.Faults().Fail(c.args[1]);
       } else if (c.args.size() == 2 && control == "heal") {
         server.Faults().Heal(c.args[1]);
       } else if (c.args.size() == 1 && control == "fail-log") {
         server.Faults().FailLog();
       } else if (c.args.size() == 1 && control == "heal-log") {
         server.Faults().HealLog();
       } else if (c.args.size() == 2 && control == "archive-layout") {
         const auto layout = ParseArchiveLayout(c.args[1]);
         c.Require(layout.has_value());
         c.game().archive_layout = *layout;
       } else if (c.args.size() == 3 && control == "command") {
         c.Require(RegisterOtherModuleCommand(server, c.args[1], c.args[2]));
       } else {
         c.Require(false);
       }
     }},
};

namespace {

template <typename Table>
constexpr bool DistinctNames(const Table& table) {
  for (std::size_t i = 0; i < std::size(table); ++i)
    for (std::size_t j = i + 1; j < std::size(table); ++j)
      if (table[i].name == table[j].name) return false;
  return true;
}

}  // namespace

void Console::Dispatch(const std::string& name, const std::string& rest) {
  static_assert(DistinctNames(kCommands), "two rows of the command table have the same name");
  for (const Command& command : kCommands) {
    if (command.name == name) {
      command.run(Call{*this, rest, Words(rest), command.usage});
      return;
    }
  }
  throw std::runtime_error("unknown command '" + name + "'");
}

}  // namespace sim
