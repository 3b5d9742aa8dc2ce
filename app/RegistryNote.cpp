#include "app/RegistryNote.h"

#include "registry/Registry.h"

namespace tidewell {

bool WriteRegistryNote(RegistryStore& store, const std::string& shortPath) {
  return RegWriteStringValue(
      store, TRootKey::CurrentUser,
      std::string(kRegistryNoteKey) + "\\" + kRegistryNoteValue, shortPath);
}

bool WriteRegistryNoteOnClose(RegistryStore& store,
                              const std::string& shortPath) {
  TRegistry registry(store);
  registry.SetRootKey(TRootKey::CurrentUser);
  if (!registry.OpenKey(kRegistryNoteKey, true)) return false;
  registry.WriteString(kRegistryNoteValue, shortPath);
  return true;
}

}  // namespace tidewell
