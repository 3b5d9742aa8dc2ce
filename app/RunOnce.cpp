#include "app/RunOnce.h"

#include "app/ApplicationFolder.h"
#include "registry/Registry.h"

namespace tidewell {

bool RunOnceCleanup(RegistryStore& store, const std::string& programFile) {
  const std::string valueName = FileNameOf(programFile);
  if (valueName.empty()) return false;
  TRegistry registry(store);
  registry.SetRootKey(TRootKey::LocalMachine);
  if (!registry.OpenKey(kRunOnceKey, false)) return false;
  if (!registry.ValueExists(valueName)) return false;
  return registry.DeleteValue(valueName);
}

}  // namespace tidewell
