#include "sim/hooks.h"

namespace sim {

HookTable::Point& HookTable::Declare(const std::string& name, void* original) {
  auto& point = points_[name];
  if (!point) {
    point = std::make_unique<Point>();
    order_.push_back(point.get());
  }
  point->name = name;
  point->original = original;
  point->entry = original;
  point->links.clear();
  return *point;
}

bool HookTable::Install(const std::string& name, void* detour, void** slot) {
  auto it = points_.find(name);
  if (it == points_.end() || refused_.count(name) || detour == nullptr || slot == nullptr)
    return false;
  Point& point = *it->second;
  *slot = point.entry;
  point.entry = detour;
  point.links.push_back({detour, slot});
  return true;
}

bool HookTable::Remove(const std::string& name, void* detour) {
  auto it = points_.find(name);
  if (it == points_.end()) return false;
  Point& point = *it->second;
  // The newest link of this detour is the one taken out.
  for (std::size_t i = point.links.size(); i-- > 0;) {
    if (point.links[i].detour != detour) continue;
    void* next_down = *point.links[i].slot;
    if (i + 1 < point.links.size()) {
      *point.links[i + 1].slot = next_down;
    } else {
      point.entry = next_down;
    }
    point.links.erase(point.links.begin() + static_cast<std::ptrdiff_t>(i));
    return true;
  }
  return false;
}

const HookTable::Point* HookTable::Find(const std::string& name) const {
  auto it = points_.find(name);
  return it == points_.end() ? nullptr : it->second.get();
}

std::size_t HookTable::InstalledCount() const {
  std::size_t count = 0;
  for (const Point* point : order_) count += point->links.size();
  return count;
}

std::vector<std::pair<std::string, void*>> HookTable::DetoursIn(const void* begin,
                                                                const void* end) const {
  std::vector<std::pair<std::string, void*>> found;
  for (const Point* point : order_)
    for (const auto& link : point->links)
      if (link.detour >= begin && link.detour < end) found.emplace_back(point->name, link.detour);
  return found;
}

}  // namespace sim
