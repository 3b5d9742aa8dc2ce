// A registry's content as a sorted list of entries, for comparing a registry
// before and after a change: one "KEY" entry per key and one "KEY|value line"
// entry per value, key names upper-cased. Where a value or a key stands among
// its siblings does not count: a restored value is appended to its key.
#pragma once

#include <algorithm>
#include <exception>
#include <sstream>
#include <string>
#include <vector>

#include "platform/TextEncoding.h"
#include "registry/Registry.h"
#include "registry/RegistryStore.h"
#include "tests/support/RegistryFixture.h"

namespace tidewell::testing {

// Appends the entries of `path` below `root` and of everything below it. A
// key whose values cannot be listed (Wine serves a few such, the performance
// counters among them) counts as a key without values; its subkeys still
// count.
inline void AppendRegistryEntries(RegistryStore& store, TRootKey root,
                                  const std::string& path,
                                  std::vector<std::string>& entries) {
  std::string dumped;
  try {
    dumped = DumpRegistryTree(store, root, path);
  } catch (const std::exception&) {
    TRegistry registry(store);
    registry.SetRootKey(root);
    std::vector<std::string> names;
    if (registry.OpenKeyReadOnly(path)) registry.GetKeyNames(names);
    entries.push_back(UpcaseUtf8("[" + RootKeyName(root) + (path.empty() ? "" : "\\" + path) + "]"));
    for (const std::string& name : names) {
      AppendRegistryEntries(store, root, path.empty() ? name : path + "\\" + name, entries);
    }
    return;
  }
  std::istringstream dump(dumped);
  std::string key;
  for (std::string line; std::getline(dump, line);) {
    if (!line.empty() && line.front() == '[') {
      key = UpcaseUtf8(line);
      entries.push_back(key);
    } else {
      entries.push_back(key + "|" + line);
    }
  }
}

inline std::vector<std::string> RegistryEntries(RegistryStore& store) {
  std::vector<std::string> entries;
  for (TRootKey root : {TRootKey::LocalMachine, TRootKey::CurrentUser}) {
    AppendRegistryEntries(store, root, "", entries);
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

}  // namespace tidewell::testing
