// Console and RCON lines of arbitrary UTF-16 (unpaired surrogates included) through the handlers
// the plugin registers with the host. A line whose first word names none of the plugin's commands
// is given "hordesize.setscale" (or its "bigfit." alias) in front.
//
// Input: one byte of options, then the line as little-endian code units.
//   bit 0     over RCON (else the console)
//   bits 1-2  the console's caller: none, the administrator, a player, the administrator
//   bit 3     the world is down while the line runs
//   bit 4     the fallback command is "bigfit.setscale"
//
// Checked after every line: the handler leaves the line it was given as it was; the console
// answers a caller with exactly one message (and at most the line that creatures went back to
// full size and the line that the name set is excluded after it) and no caller with none; RCON
// answers exactly once,
// under the request's id, with a text ending in a line feed; the settings keep their rules and
// gain no empty creature name; every block of the game's allocator is released; the simulated
// server reports no error.
#include <cstddef>
#include <cstdint>
#include <string>

#include "sim/game_functions.h"
#include "sim/memory.h"
#include "support/command_lookup.h"
#include "support/fuzz_server.h"
#include "support/fuzzer_arguments.h"
#include "support/settings_rules.h"
#include "support/table_dictionary.h"
#include "support/utf16_input.h"

namespace {

using namespace fuzzsupport;

struct Options {
  bool rcon;
  int caller;  // a player id, 0 for none
  bool world_down;
  const char16_t* fallback;
};

Options ReadOptions(std::uint8_t byte) {
  static const int kCallers[] = {0, kAdmin, kPlayer, kAdmin};
  return Options{(byte & 1) != 0, kCallers[(byte >> 1) & 3], (byte & 8) != 0,
                 (byte & 16) != 0 ? u"bigfit.setscale" : u"hordesize.setscale"};
}

void RunConsole(FuzzServer& server, std::u16string line, const Options& options) {
  const auto handler = FindHandler(server.Server().Commands().console, line, options.fallback);
  const int caller = options.caller;
  sim::FString typed = sim::MakeGameString(line);
  handler(server.Controller(caller), &typed, false);
  if (sim::StringText(typed) != line) Fail("the console handler changed the typed line");
  sim::ReleaseGameString(typed);
  // Without a world no player is connected: the answer to a player is dropped.
  const std::size_t expected = caller != 0 && !options.world_down ? 1 : 0;
  CheckAnswered(server, expected, "the console");
}

void RunRcon(FuzzServer& server, std::u16string line, const Options& options) {
  constexpr std::int32_t kRequest = 7;
  const auto handler = FindHandler(server.Server().Commands().rcon, line, options.fallback);
  int replies = 0;
  sim::RCONClientConnection connection;
  connection.send = [&](int id, int type, const std::u16string& text) {
    ++replies;
    if (id != kRequest || type != 0) Fail("an RCON reply went out under another id or type");
    if (text.empty() || text.back() != u'\n') Fail("an RCON reply does not end in a line feed");
  };
  sim::RCONPacket packet;
  packet.Id = kRequest;
  packet.Type = 2;
  packet.Body = sim::MakeGameString(line);
  packet.Length = static_cast<std::int32_t>(line.size() + 10);
  handler(&connection, &packet, server.Game().World());
  if (sim::StringText(packet.Body) != line) Fail("the RCON handler changed the request's body");
  sim::ReleaseGameString(packet.Body);
  if (replies != 1) Fail("an RCON request got " + std::to_string(replies) + " replies");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  MakePathArgumentsAbsolute(argc, argv);
  AddTableDictionary(argc, argv, FuzzInput::kConsoleLine, "setscale_line_fuzz");
  FuzzServer::Instance();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const tinyhorde::Settings kStart = CopySettings();
  auto& server = FuzzServer::Instance();
  const Options options = ReadOptions(data[0]);
  std::u16string line = Utf16Units(data + 1, size - 1);

  ResetSettings(kStart);
  const std::size_t blocks = server.LiveBlocks();
  server.Game().SetWorldUp(!options.world_down);
  if (options.rcon)
    RunRcon(server, std::move(line), options);
  else
    RunConsole(server, std::move(line), options);
  server.Game().SetWorldUp(true);

  const tinyhorde::Settings after = CopySettings();
  CheckSettingsRules(kStart, after);
  // A creature name comes from a word of the line, and every class name contains an empty one.
  if (after.CreatureScales.count("") != 0) Fail("a line set a scale for the empty creature name");
  CheckServerState(server, blocks);
  server.ClearOutput();
  return 0;
}
