#include "support/fuzzer_arguments.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace fuzzsupport {

namespace {

namespace fs = std::filesystem;

// The flags whose value is a path.
constexpr std::string_view kPathFlags[] = {"-artifact_prefix=", "-exact_artifact_path=", "-dict=",
                                           "-merge_control_file=", "-features_dir="};

std::string Absolute(std::string_view path) {
  return path.empty() ? std::string(path) : fs::absolute(fs::path(path)).string();
}

}  // namespace

void MakePathArgumentsAbsolute(int* argc, char*** argv) {
  static std::vector<std::string> arguments;
  static std::vector<char*> pointers;
  bool has_artifact_prefix = false;
  for (int i = 0; i < *argc; ++i) {
    std::string argument = (*argv)[i];
    if (i > 0 && !argument.empty() && argument[0] != '-') {
      argument = Absolute(argument);
    } else {
      for (const std::string_view flag : kPathFlags) {
        if (argument.rfind(flag, 0) != 0) continue;
        argument = std::string(flag) + Absolute(std::string_view(argument).substr(flag.size()));
        has_artifact_prefix = has_artifact_prefix || flag == kPathFlags[0];
      }
    }
    arguments.push_back(std::move(argument));
  }
  if (!has_artifact_prefix)
    arguments.push_back(std::string(kPathFlags[0]) + (fs::current_path() / "").string());
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  *argc = static_cast<int>(arguments.size());
  *argv = pointers.data();
}

}  // namespace fuzzsupport
