// The walk every class check shares, and the one-key-at-a-time reading its
// examination steps use.
//
// A check reads the names below its base key once, closes the base key, and
// then examines one entry after another. Every examination step opens a key
// read-only, reads what it needs and closes it again before it tests a target,
// so no key stays open between steps and every path, the targets included, is
// resolved from the root.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "registry/Registry.h"
#include "registry/RegistryTypes.h"

namespace tidewell {

class TRegistryCheckThread;

// How an entry's name appears in the status line.
enum class TStatusName { AsListed, Trimmed };

// Opens `basePath` below `root` read-only on the engine's Registry and, when it
// opens, examines each subkey name in turn: the status line (`statusPrefix`
// and the name) on every fifth entry from the first, then `examine`, then a
// stop test, then the progress position. A base key that cannot be opened
// ends the walk at once with nothing reported and the progress untouched. A
// folder the scan has already listed whole is not listed again: the walk takes
// the names, in their order, from the engine's KeyTests.
// Whatever `examine` throws ends the walk and reaches the caller.
void WalkClassKey(TRegistryCheckThread& engine, TRootKey root,
                  const std::string& basePath, const std::string& statusPrefix,
                  TStatusName statusName,
                  const std::function<void(const std::string& name)>& examine);

// One key opened read-only for one examination step, closed when the step is
// done with it or however the step ends.
class TReadOnlyKey {
 public:
  // Opens `path` on `registry`, which must have no key open, so that the path
  // is taken from the root.
  TReadOnlyKey(TRegistry& registry, const std::string& path);
  ~TReadOnlyKey();
  TReadOnlyKey(const TReadOnlyKey&) = delete;
  TReadOnlyKey& operator=(const TReadOnlyKey&) = delete;

  bool IsOpen() const { return open_; }
  // The key's default value as text; a missing value reads as empty. A value
  // of another type than a string throws ERegistryException.
  std::string ReadDefault();
  std::string ReadString(const std::string& name);
  std::optional<std::string> ReadStringIfPresent(const std::string& name);
  std::vector<std::string> KeyNames();
  void Close();

 private:
  TRegistry& registry_;
  bool open_;
};

}  // namespace tidewell
