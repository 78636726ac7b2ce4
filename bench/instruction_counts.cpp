// Runs exactly one measured operation on a world of N tamed target creatures, with callgrind's
// instrumentation on for that operation only; everything else (building the world, starting the
// plugin, one warming run of a repeatable operation, tearing down) is not counted. Run it under
//   valgrind --tool=callgrind --instr-atstart=no instruction_counts <operation> <N>
// and divide the collected instructions by N. With a third argument "debug-log" the plugin runs
// with DebugLog on, otherwise off. The last line printed is "lines <L>": the lines the plugin
// wrote during the operation. Operations:
//   resize-all            hordesize.resizeall on the console, creatures already at their scale
//   world-to-settings     the same command on a world where one creature in ten no longer
//                         qualifies and goes back to full size (SpawnTargetsToRestore)
//   bare-writes           the bare-writes loop (world_operations.h) on the same world
//   save-with-plugin      a world save, the plugin running and the creatures shrunk
//   save-without-plugin   a world save, the plugin never started
//   save-and-reapply      a world save and the 2 s after it, the plugin's re-application
//                         included, on a world at rest (SpawnShrunkTargetsAtRest)
//   start                 the plugin started on an empty world, then N tamed targets beginning
//                         play over 120 s and their 3 s passes (SpawnSpreadOver); not counted:
//                         the plugin's start
//   unload                the plugin's unload on a world at rest
#include <valgrind/callgrind.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>

#include "world_operations.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: instruction_counts resize-all|world-to-settings|bare-writes|"
               "save-with-plugin|save-without-plugin|save-and-reapply|start|unload <creatures> "
               "[debug-log]\n");
  return 2;
}

constexpr double kStartSeconds = 120;

template <typename Operation>
void Measure(Operation&& operation) {
  CALLGRIND_START_INSTRUMENTATION;
  operation();
  CALLGRIND_STOP_INSTRUMENTATION;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) return Usage();
  const std::string operation = argv[1];
  const int creatures = std::atoi(argv[2]);
  if (creatures <= 0) return Usage();
  if (argc == 4 && std::string(argv[3]) != "debug-log") return Usage();
  try {
    bench::BenchServer world(argc == 4);
    std::uint64_t lines_before = 0;
    const auto report = [&] {
      std::printf("measured %s over %d creatures\nlines %llu\n", operation.c_str(), creatures,
                  static_cast<unsigned long long>(world.LinesWritten() - lines_before));
      return 0;
    };
    if (operation == "world-to-settings") {
      // Not warmed: a second run would find nothing to put back. The class is judged anew
      // after the settings change, once for the whole walk.
      bench::SpawnTargetsToRestore(world, creatures, creatures / 10);
      bench::ConsoleResizeAll command(world);
      lines_before = world.LinesWritten();
      Measure([&] { command.Run(); });
      return report();
    }
    if (operation == "save-and-reapply" || operation == "unload") {
      bench::SpawnShrunkTargetsAtRest(world, creatures);
      lines_before = world.LinesWritten();
      if (operation == "unload")
        Measure([&] { world.StopPlugin(); });
      else
        Measure([&] { bench::SaveAndReapply(world); });
      return report();
    }
    if (operation == "start") {
      world.StartPlugin();
      lines_before = world.LinesWritten();
      Measure([&] { bench::SpawnSpreadOver(world, creatures, kStartSeconds); });
      return report();
    }
    const bool with_plugin = operation != "save-without-plugin";
    bench::SpawnTamedTargets(world, creatures);
    if (with_plugin) world.StartPlugin();
    lines_before = world.LinesWritten();
    if (operation == "resize-all") {
      bench::ConsoleResizeAll command(world);
      command.Run();
      lines_before = world.LinesWritten();
      Measure([&] { command.Run(); });
    } else if (operation == "bare-writes") {
      bench::BareWrites writes(world, bench::FirstCreatureScale(world));
      writes.Run();
      Measure([&] { writes.Run(); });
    } else if (operation == "save-with-plugin" || operation == "save-without-plugin") {
      Measure([&] { world.Game().Save(); });
    } else {
      return Usage();
    }
    return report();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "instruction_counts: %s\n", error.what());
    return 1;
  }
  return 0;
}
