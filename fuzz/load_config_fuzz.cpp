// LoadConfig on arbitrary bytes: the input is written as the config.json the plugin finds (the
// one in its own folder on the server), then loaded with the settings at their defaults.
//
// Checked after every load: LoadConfig throws nothing and reports the file it was given; a load
// that failed changed no setting; a load that succeeded left the settings within their rules;
// every block of the game's allocator is released; the simulated server reports no error.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "config/load_config.h"
#include "support/fuzz_server.h"
#include "support/fuzzer_arguments.h"
#include "support/settings_rules.h"
#include "support/table_dictionary.h"

namespace {

using namespace fuzzsupport;
namespace fs = std::filesystem;

// The candidate in the plugin's folder, as LoadConfig names it; the folder is made. Fails the run
// when a candidate that LoadConfig probes before it exists, since that file would be read
// instead.
fs::path OwnConfigFile(FuzzServer& server) {
  const fs::path own =
      fs::relative(server.Server().PluginDir(), server.Server().Root()) / "config.json";
  for (const fs::path& candidate : tinyhorde::ConfigCandidates()) {
    if (candidate == own) {
      fs::create_directories(own.parent_path());
      return own;
    }
    if (fs::exists(candidate))
      Fail("remove " + fs::absolute(candidate).string() + ": LoadConfig would read it first");
  }
  Fail("LoadConfig does not look for " + own.string());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  MakePathArgumentsAbsolute(argc, argv);
  AddTableDictionary(argc, argv, FuzzInput::kConfigFile, "load_config_fuzz");
  FuzzServer::Instance();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto& server = FuzzServer::Instance();
  static const fs::path kFile = OwnConfigFile(server);
  static const tinyhorde::Settings kDefaults{};
  {
    // A new file each time: truncating one makes ext4 write it out to the disk at every close.
    std::error_code ignored;
    fs::remove(kFile, ignored);
    std::ofstream out(kFile, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) Fail("cannot write " + kFile.string());
  }

  ResetSettings(kDefaults);
  const std::size_t blocks = server.LiveBlocks();
  tinyhorde::ConfigLoadOutcome outcome{tinyhorde::ConfigLoadStatus::Failed, {}, {}};
  try {
    outcome = tinyhorde::LoadConfig();
  } catch (...) {
    Fail("LoadConfig threw");
  }

  if (outcome.path != kFile.string())
    Fail("LoadConfig read '" + outcome.path + "', not '" + kFile.string() + "'");
  switch (outcome.status) {
    case tinyhorde::ConfigLoadStatus::Loaded:
      CheckSettingsRules(kDefaults, CopySettings());
      break;
    case tinyhorde::ConfigLoadStatus::Failed:
      if (outcome.message.empty()) Fail("a failed load gives no reason");
      CheckSettingsUnchanged(kDefaults, CopySettings());
      break;
    default:
      Fail("LoadConfig could not open the file it was given: " + outcome.message);
  }
  CheckServerState(server, blocks);
  server.ClearOutput();
  return 0;
}
