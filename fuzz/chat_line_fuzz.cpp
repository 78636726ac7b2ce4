// Chat lines of arbitrary UTF-16 (unpaired surrogates included) through the chat handler the
// plugin registers with the host. A line whose first word is not "/hordesize" is given
// "/hordesize " in front, so that every input reaches the handler.
//
// Input: one byte of options, then the line as little-endian code units.
//   bits 0-1  the speaker: none, the administrator, a player, the administrator
//   bit 2     the world is down while the line runs
//
// Checked after every line: the handler leaves the message as it was; a speaker gets exactly one
// message (and at most the line that creatures went back to full size after it), no speaker none;
// the settings keep their rules; every block of the game's allocator is released; the simulated
// server reports no error.
#include <cstddef>
#include <cstdint>
#include <string>

#include "sim/memory.h"
#include "support/command_lookup.h"
#include "support/fuzz_server.h"
#include "support/fuzzer_arguments.h"
#include "support/settings_rules.h"
#include "support/table_dictionary.h"
#include "support/utf16_input.h"

using namespace fuzzsupport;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  MakePathArgumentsAbsolute(argc, argv);
  AddTableDictionary(argc, argv, FuzzInput::kChatLine, "chat_line_fuzz");
  FuzzServer::Instance();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const tinyhorde::Settings kStart = CopySettings();
  static const int kSpeakers[] = {0, kAdmin, kPlayer, kAdmin};
  auto& server = FuzzServer::Instance();
  const int speaker = kSpeakers[data[0] & 3];
  const bool world_down = (data[0] & 4) != 0;
  std::u16string line = Utf16Units(data + 1, size - 1);

  ResetSettings(kStart);
  const std::size_t blocks = server.LiveBlocks();
  const auto handler = FindHandler(server.Server().Commands().chat, line, u"/hordesize");
  server.Game().SetWorldUp(!world_down);
  sim::FString message = sim::MakeGameString(line);
  handler(server.Controller(speaker), &message, 0, 0);
  if (sim::StringText(message) != line) Fail("the chat handler changed the message");
  sim::ReleaseGameString(message);
  server.Game().SetWorldUp(true);

  // Without a world no player is connected: the answer to a player is dropped.
  const std::size_t expected = speaker != 0 && !world_down ? 1 : 0;
  CheckAnswered(server, expected, "the chat command");
  CheckSettingsRules(kStart, CopySettings());
  CheckServerState(server, blocks);
  server.ClearOutput();
  return 0;
}
