#include "fresh_root.h"

#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <system_error>

namespace simserver {
namespace {

// The root made for this run, if any.
std::filesystem::path fresh_root;

extern "C" void RemoveFreshRootAtExit() {
  RemoveFreshRoot();
}

}  // namespace

std::filesystem::path MakeFreshRoot() {
  std::string pattern = (std::filesystem::temp_directory_path() / "simserver-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a server root");
  fresh_root = pattern;
  std::atexit(RemoveFreshRootAtExit);
  return pattern;
}

void RemoveFreshRoot() {
  if (fresh_root.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(fresh_root, ignored);
  fresh_root.clear();
}

}  // namespace simserver
