#include "scan/KeyTestCache.h"

#include <cstdint>
#include <optional>
#include <utility>

#include "platform/CharKinds.h"

namespace tidewell {

namespace {

void AppendFolded(std::string& to, const std::string& text, std::size_t first,
                  std::size_t last) {
  to.reserve(to.size() + (last - first));
  for (std::size_t i = first; i < last; ++i) to += FoldedAscii(text[i]);
}

// The name a key is remembered by: root and view, then the path without its
// outer backslashes, folded. Nothing for a path relative to an open key.
std::optional<std::string> NameOf(TRegistry& registry, const std::string& path) {
  const bool fromRoot = registry.CurrentKey() == kNoKey ||
                        (!path.empty() && path.front() == '\\');
  if (!fromRoot) return std::nullopt;
  std::size_t first = 0;
  std::size_t last = path.size();
  while (first < last && path[first] == '\\') ++first;
  while (last > first && path[last - 1] == '\\') --last;
  std::string name = std::to_string(static_cast<int>(registry.RootKey())) + ':' +
                     std::to_string(registry.View()) + ':';
  AppendFolded(name, path, first, last);
  return name;
}

// The folder part of a key's name (with the root and view) and its last
// part.
std::pair<std::string, std::string> SplitLast(const std::string& name) {
  const std::size_t slash = name.rfind('\\');
  const std::size_t cut =
      slash == std::string::npos ? name.find(':', name.find(':') + 1) : slash;
  return {name.substr(0, slash == std::string::npos ? cut + 1 : cut),
          name.substr(cut + 1)};
}

}  // namespace

bool TKeyTestCache::KeyExists(TRegistry& registry, const std::string& path) {
  std::optional<std::string> name = NameOf(registry, path);
  if (!name) return registry.KeyExists(path);
  const auto known = known_.find(*name);
  if (known != known_.end()) return known->second;

  if (!listings_.empty()) {
    const auto [folder, entry] = SplitLast(*name);
    const auto listing = listings_.find(folder);
    // "." and ".." are left to the registry to make sense of.
    if (listing != listings_.end() && !entry.empty() && entry != "." &&
        entry != ".." && IsAscii(entry)) {
      if (listing->second.asciiNames.count(entry) != 0) return true;
      if (listing->second.allAscii) return false;
    }
  }
  const bool exists = registry.KeyExists(path);
  known_.emplace(std::move(*name), exists);
  return exists;
}

const std::vector<std::string>& TKeyTestCache::NoteListing(
    TRegistry& registry, const std::string& folder,
    std::vector<std::string>&& names) {
  std::optional<std::string> name = NameOf(registry, folder);
  if (!name) return names;
  const auto [at, added] = listings_.try_emplace(std::move(*name));
  Listing& listing = at->second;
  if (!added) return listing.names;
  listing.names = std::move(names);
  listing.asciiNames.reserve(listing.names.size());
  for (const std::string& entry : listing.names) {
    if (IsAscii(entry)) {
      listing.asciiNames.insert(entry);
    } else {
      listing.allAscii = false;
    }
  }
  return listing.names;
}

const std::vector<std::string>* TKeyTestCache::ListingOf(
    TRegistry& registry, const std::string& folder) const {
  const std::optional<std::string> name = NameOf(registry, folder);
  if (!name) return nullptr;
  const auto listing = listings_.find(*name);
  return listing == listings_.end() ? nullptr : &listing->second.names;
}

std::size_t TKeyTestCache::FoldedHash::operator()(std::string_view name) const {
  // FNV-1a over the folded bytes.
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : name) {
    hash ^= static_cast<unsigned char>(FoldedAscii(c));
    hash *= 1099511628211ull;
  }
  return static_cast<std::size_t>(hash);
}

bool TKeyTestCache::FoldedEqual::operator()(std::string_view a,
                                            std::string_view b) const {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldedAscii(a[i]) != FoldedAscii(b[i])) return false;
  }
  return true;
}

void TKeyTestCache::Clear() {
  // Swapped out so that the memory goes with the scan, not only the entries.
  std::unordered_map<std::string, bool>().swap(known_);
  std::unordered_map<std::string, Listing>().swap(listings_);
}

}  // namespace tidewell
