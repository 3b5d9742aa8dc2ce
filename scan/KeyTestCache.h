// The key tests of one scan, each answered from the registry once. The class
// checks ask whether keys exist tens of thousands of times, and many targets
// again and again: most interfaces name the same proxy class, many classes
// the same type library, a version-independent name and its versioned twin
// the same class. Each test that misses costs an open and, when the key is
// there, a close as well, both round trips to the registry's server.
//
// Most targets are entries of a folder a class check has already listed
// whole (CLSID, TypeLib, Interface, the root of the classes), so the cache
// also keeps those listings and answers a test of a listed folder's entry
// from them without asking the registry at all. A key that is listed but
// cannot be opened is taken as there: it is, and whatever names it is not at
// fault.
//
// A key is named by its root, the view it is looked for in and its path from
// the root. ASCII letters are folded as the registry folds them; any other
// byte must match exactly, so two spellings the registry would take as one
// key may each be asked once, but no answer is ever given for a key that was
// not asked about. A listing answers only for a name in ASCII, and says a
// name is missing only when every name it holds is in ASCII: the registry
// folds some other letters onto ASCII ones. A path relative to a key the
// registry has open is not remembered.
//
// A listing is kept as read, names in order, so that a check walking a folder
// another check has listed whole (the root of the classes is walked by two)
// takes the names from it instead of listing them again.
//
// What the registry holds is taken as it was when first asked: the engine
// empties the cache when a scan starts and ends. Used on the scan thread only.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "registry/Registry.h"

namespace tidewell {

class TKeyTestCache {
 public:
  // TRegistry::KeyExists, asked once per key for as long as the cache lives.
  bool KeyExists(TRegistry& registry, const std::string& path);
  // Keeps `names`, the whole list of the subkeys of `folder` (a path from the
  // root of `registry`'s root key and view), to answer tests of its entries.
  // The names kept: `names`, or those of the folder's first listing, which
  // later ones do not replace. Nothing is kept for a path relative to an
  // open key, and then `names` is given back.
  const std::vector<std::string>& NoteListing(TRegistry& registry,
                                              const std::string& folder,
                                              std::vector<std::string>&& names);
  // The names of a listing kept for `folder`, in the order listed; null when
  // none is. Valid until Clear.
  const std::vector<std::string>* ListingOf(TRegistry& registry,
                                            const std::string& folder) const;
  void Clear();

 private:
  // ASCII letters folded, as the registry folds them.
  struct FoldedHash {
    std::size_t operator()(std::string_view name) const;
  };
  struct FoldedEqual {
    bool operator()(std::string_view a, std::string_view b) const;
  };
  struct Listing {
    std::vector<std::string> names;
    // Views of the names in ASCII; `names` is never changed once they are
    // taken, and a map's entries stay where they are.
    std::unordered_set<std::string_view, FoldedHash, FoldedEqual> asciiNames;
    bool allAscii = true;
  };

  std::unordered_map<std::string, bool> known_;
  std::unordered_map<std::string, Listing> listings_;
};

}  // namespace tidewell
