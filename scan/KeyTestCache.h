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
// What the registry holds is taken as it was when first asked: the engine
// empties the cache when a scan starts and ends. Used on the scan thread only.
#pragma once

#include <string>
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
  void NoteListing(TRegistry& registry, const std::string& folder,
                   const std::vector<std::string>& names);
  void Clear();

 private:
  struct Listing {
    std::unordered_set<std::string> asciiNames;  // folded
    bool allAscii = true;
  };

  std::unordered_map<std::string, bool> known_;
  std::unordered_map<std::string, Listing> listings_;
};

}  // namespace tidewell
