// libFuzzer's command line, made to survive the change of working directory that a fuzz server
// makes (see fuzz_server.h).
#pragma once

namespace fuzzsupport {

// Rewrites *argc/*argv (as LLVMFuzzerInitialize receives them, before libFuzzer reads them) so
// that every path is absolute, taken from the current working directory: the corpus folders and
// input files, and the values of -artifact_prefix, -exact_artifact_path, -dict,
// -merge_control_file and -features_dir. Adds -artifact_prefix=<working directory>/ when none is
// given, so that a failing input is saved where the run was started. The new argument vector
// lives until the process ends.
void MakePathArgumentsAbsolute(int* argc, char*** argv);

}  // namespace fuzzsupport
