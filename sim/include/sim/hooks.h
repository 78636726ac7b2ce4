// Hookable game functions. The game's flows call each one through its entry; installing a hook
// puts a detour in front of the entry and writes the previous entry into the plugin's slot, so
// detours chain as with a detour library. Removing a detour relinks the chain around it.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace sim {

class HookTable {
 public:
  struct Point {
    std::string name;
    void* original = nullptr;  // the game's own function
    void* entry = nullptr;     // what a call runs first: the newest detour, or the original
    struct Link {
      void* detour;
      void** slot;
    };
    std::vector<Link> links;  // oldest first
  };

  Point& Declare(const std::string& name, void* original);
  // False when the name is not hookable or the host is set to refuse it.
  bool Install(const std::string& name, void* detour, void** slot);
  // False when that detour is not installed on that function.
  bool Remove(const std::string& name, void* detour);

  void Refuse(const std::string& name) { refused_.insert(name); }
  void Accept(const std::string& name) { refused_.erase(name); }

  const Point* Find(const std::string& name) const;
  // Detours now installed, over all functions.
  std::size_t InstalledCount() const;
  // Every detour whose code lies in [begin, end); used to notice a plugin that left hooks behind.
  std::vector<std::pair<std::string, void*>> DetoursIn(const void* begin, const void* end) const;

  template <typename F>
  static F Entry(const Point& point) {
    return reinterpret_cast<F>(point.entry);
  }

 private:
  std::unordered_map<std::string, std::unique_ptr<Point>> points_;
  std::vector<Point*> order_;
  std::unordered_set<std::string> refused_;
};

}  // namespace sim
