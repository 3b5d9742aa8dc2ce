#include "registry/RegistryTypes.h"

#include "platform/TextEncoding.h"

namespace tidewell {

std::vector<std::uint8_t> RegStringBytes(const std::string& text) {
  const std::string bytes = Utf16LeBytes(Utf8ToUtf16(text), true);
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

std::string RootKeyName(TRootKey root) {
  switch (root) {
    case TRootKey::ClassesRoot:
      return "HKEY_CLASSES_ROOT";
    case TRootKey::CurrentUser:
      return "HKEY_CURRENT_USER";
    case TRootKey::LocalMachine:
      return "HKEY_LOCAL_MACHINE";
    case TRootKey::Users:
      return "HKEY_USERS";
  }
  return "";
}

bool ParseRootKeyName(const std::string& name, TRootKey* root) {
  for (TRootKey candidate : {TRootKey::ClassesRoot, TRootKey::CurrentUser,
                             TRootKey::LocalMachine, TRootKey::Users}) {
    if (NamesEqual(name, RootKeyName(candidate))) {
      *root = candidate;
      return true;
    }
  }
  return false;
}

}  // namespace tidewell
