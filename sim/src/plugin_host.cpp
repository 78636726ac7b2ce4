#include "sim/plugin_host.h"

#include <dlfcn.h>
#include <link.h>

#include <stdexcept>

#include "sim/server.h"

namespace sim {

namespace {

// The address range of the library's code, to tell the plugin's detours from others.
struct CodeRange {
  const void* begin = nullptr;
  const void* end = nullptr;
};

CodeRange RangeOf(void* handle) {
  CodeRange range;
  link_map* map = nullptr;
  if (dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr) return range;
  struct Search {
    const char* name;
    CodeRange* range;
  } search{map->l_name, &range};
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) {
        auto* s = static_cast<Search*>(data);
        if (info->dlpi_name == nullptr || std::string(info->dlpi_name) != s->name) return 0;
        for (int i = 0; i < info->dlpi_phnum; ++i) {
          const auto& header = info->dlpi_phdr[i];
          if (header.p_type != PT_LOAD) continue;
          const auto* begin = reinterpret_cast<const char*>(info->dlpi_addr + header.p_vaddr);
          const auto* end = begin + header.p_memsz;
          if (s->range->begin == nullptr || begin < s->range->begin) s->range->begin = begin;
          if (end > s->range->end) s->range->end = end;
        }
        return 1;
      },
      &search);
  return range;
}

}  // namespace

PluginHost::PluginHost(Server& server, std::filesystem::path library)
    : server_(server), library_(std::move(library)) {}

PluginHost::~PluginHost() {
  if (handle_ != nullptr) {
    try {
      Unload();
    } catch (...) {
    }
  }
}

std::filesystem::path PluginHost::InstalledFile() const {
  return server_.PluginDir() / "Tinyhorde.so";
}

std::u16string PluginHost::ModuleName() const {
  return Utf8ToUtf16(InstalledFile().string());
}

void PluginHost::Load() {
  if (handle_ != nullptr) throw std::runtime_error("the plugin is loaded already");
  if (library_.empty() || !std::filesystem::exists(library_))
    throw std::runtime_error("no plugin library at '" + library_.string() + "'");
  std::filesystem::create_directories(server_.PluginDir());
  std::filesystem::copy_file(library_, InstalledFile(),
                             std::filesystem::copy_options::overwrite_existing);
  const auto info = library_.parent_path() / "PluginInfo.json";
  if (std::filesystem::exists(info))
    std::filesystem::copy_file(info, server_.PluginDir() / "PluginInfo.json",
                               std::filesystem::copy_options::overwrite_existing);
  void* handle = dlopen(InstalledFile().c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) throw std::runtime_error(std::string("dlopen failed: ") + dlerror());
  auto init = reinterpret_cast<void (*)()>(dlsym(handle, "Plugin_Init"));
  auto unload = reinterpret_cast<void (*)()>(dlsym(handle, "Plugin_Unload"));
  if (init == nullptr || unload == nullptr) {
    dlclose(handle);
    throw std::runtime_error("the plugin library lacks Plugin_Init or Plugin_Unload");
  }
  handle_ = handle;
  unload_ = unload;
  const auto range = RangeOf(handle);
  code_begin_ = range.begin;
  code_end_ = range.end;
  try {
    init();
  } catch (...) {
    server_.EndForEscapedException("Plugin_Init");
  }
}

void PluginHost::Unload() {
  if (handle_ == nullptr) throw std::runtime_error("no plugin is loaded");
  try {
    unload_();
  } catch (...) {
    server_.EndForEscapedException("Plugin_Unload");
  }
  if (drop_timers_at_unload) server_.Clock().DropModule(ModuleName());
  // The host takes the plugin's commands out itself, by module.
  server_.Commands().RemoveModule(ModuleName());
  ReportLeftovers();
  if (drop_timers_at_unload) dlclose(handle_);
  // A host that keeps timers keeps the library mapped too, so that they stay callable.
  handle_ = nullptr;
  unload_ = nullptr;
}

void PluginHost::ReportLeftovers() {
  for (const auto& [name, detour] : server_.Hooks().DetoursIn(code_begin_, code_end_)) {
    server_.Error("the plugin left a hook on " + name);
    server_.Hooks().Remove(name, detour);
  }
}

}  // namespace sim
