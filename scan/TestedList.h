// What the scan tested to decide one problem, as lines a user can read: the
// paths tried for a file in order, the folders searched, the keys looked for.
// A check hands one to the routines it calls only when its engine was asked
// to explain its problems; every routine takes it as an optional pointer, so
// a scan that explains nothing formats no text at all. Each engine has its
// own, used on its scan thread only.
#pragma once

#include <string>
#include <vector>

#include "registry/Registry.h"
#include "registry/RegistryTypes.h"
#include "scan/KeyTestCache.h"

namespace tidewell {

class TTestedList {
 public:
  // "file C:\x\y.dll: missing" (or "found").
  void File(const std::string& path, bool found);
  // "folder C:\x: missing": a path that may also name a folder.
  void Folder(const std::string& path, bool found);
  // "searched C:\Windows\System32: missing": a bare name looked for there.
  void Searched(const std::string& folder, bool found);
  // "key HKEY_CLASSES_ROOT\CLSID\{...}: missing"; with a view,
  // "key HKEY_CLASSES_ROOT\CLSID\{...} in the 32-bit view: missing".
  void Key(TRootKey root, const std::string& path, bool found,
           const std::string& view = std::string());
  // Any other line. A line already listed is not listed twice: several
  // routes often lead to the same path, and the first try is what counts.
  void Add(const std::string& line);

  const std::vector<std::string>& Lines() const { return lines_; }
  // The lines so far, leaving the list empty.
  std::vector<std::string> Take();
  void Clear() { lines_.clear(); }

 private:
  std::vector<std::string> lines_;
};

// A line recorded only when someone listens.
inline void Note(TTestedList* tested, const std::string& line) {
  if (tested != nullptr) tested->Add(line);
}

// KeyExists on `registry`, asked through the scan's `keys`, recorded with the
// registry's root.
inline bool KeyThere(TKeyTestCache& keys, TRegistry& registry,
                     const std::string& path, TTestedList* tested) {
  const bool found = keys.KeyExists(registry, path);
  if (tested != nullptr) tested->Key(registry.RootKey(), path, found);
  return found;
}

}  // namespace tidewell
