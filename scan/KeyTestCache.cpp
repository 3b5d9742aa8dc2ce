#include "scan/KeyTestCache.h"

#include <cstdint>

namespace tidewell {

bool TKeyTestCache::KeyExists(TRegistry& registry, const std::string& path) {
  const bool fromRoot = registry.CurrentKey() == kNoKey ||
                        (!path.empty() && path.front() == '\\');
  if (!fromRoot) return registry.KeyExists(path);

  std::size_t first = 0;
  std::size_t last = path.size();
  while (first < last && path[first] == '\\') ++first;
  while (last > first && path[last - 1] == '\\') --last;
  std::string name = std::to_string(static_cast<int>(registry.RootKey())) + ':' +
                     std::to_string(registry.View()) + ':';
  name.reserve(name.size() + (last - first));
  for (std::size_t i = first; i < last; ++i) {
    const char c = path[i];
    name += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  const auto known = known_.find(name);
  if (known != known_.end()) return known->second;
  const bool exists = registry.KeyExists(path);
  known_.emplace(std::move(name), exists);
  return exists;
}

void TKeyTestCache::Clear() {
  // Swapped out so that the memory goes with the scan, not only the entries.
  std::unordered_map<std::string, bool>().swap(known_);
}

}  // namespace tidewell
