// Runs exactly one measured operation on a world of N tamed target creatures, with callgrind's
// instrumentation on for that operation only; everything else (building the world, starting the
// plugin, one warming run of a repeatable operation, tearing down) is not counted. Run it under
//   valgrind --tool=callgrind --instr-atstart=no instruction_counts <operation> <N>
// and divide the collected instructions by N. Operations:
//   resize-all            hordesize.resizeall on the console, creatures already at their scale
//   world-to-settings     the same command on a world where one creature in ten no longer
//                         qualifies and goes back to full size (SpawnTargetsToRestore)
//   bare-writes           the bare-writes loop (world_operations.h) on the same world
//   save-with-plugin      a world save, the plugin running and the creatures shrunk
//   save-without-plugin   a world save, the plugin never started
#include <valgrind/callgrind.h>

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
               "save-with-plugin|save-without-plugin <creatures>\n");
  return 2;
}

template <typename Operation>
void Measure(Operation&& operation) {
  CALLGRIND_START_INSTRUMENTATION;
  operation();
  CALLGRIND_STOP_INSTRUMENTATION;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return Usage();
  const std::string operation = argv[1];
  const int creatures = std::atoi(argv[2]);
  if (creatures <= 0) return Usage();
  try {
    bench::BenchServer world;
    if (operation == "world-to-settings") {
      // Not warmed: a second run would find nothing to put back. The class is judged anew
      // after the settings change, once for the whole walk.
      bench::SpawnTargetsToRestore(world, creatures, creatures / 10);
      bench::ConsoleResizeAll command(world);
      Measure([&] { command.Run(); });
      std::printf("measured %s over %d creatures\n", operation.c_str(), creatures);
      return 0;
    }
    const bool with_plugin = operation != "save-without-plugin";
    bench::SpawnTamedTargets(world, creatures);
    if (with_plugin) world.StartPlugin();
    if (operation == "resize-all") {
      bench::ConsoleResizeAll command(world);
      command.Run();
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
    std::printf("measured %s over %d creatures\n", operation.c_str(), creatures);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "instruction_counts: %s\n", error.what());
    return 1;
  }
  return 0;
}
