// The seam between the registry object and a concrete registry. The calls mirror
// the advapi32 functions one for one (handles, Win32 result codes, raw value
// bytes) so that the Windows implementation is a thin translation and an
// in-memory implementation can be held to exactly the same behaviour by one
// shared test suite.
//
// Names are UTF-8. Value data is the bytes the W API stores: strings are UTF-16LE
// with their terminating zero code unit. Paths handed to the store never begin
// or end with a backslash; the registry object applies the path rules itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "registry/RegistryTypes.h"

namespace tidewell {

// An open key. Root keys are their TRootKey values; kNoKey is no key at all.
using KeyHandle = std::uint64_t;
constexpr KeyHandle kNoKey = 0;

inline KeyHandle RootHandle(TRootKey root) {
  return static_cast<KeyHandle>(root);
}

struct KeyInfo {
  std::uint32_t subKeyCount = 0;
  std::uint32_t maxSubKeyNameLength = 0;  // UTF-16 code units, no terminator
  std::uint32_t valueCount = 0;
  std::uint32_t maxValueNameLength = 0;  // UTF-16 code units, no terminator
  std::uint32_t maxValueDataSize = 0;    // bytes
};

class RegistryStore {
 public:
  virtual ~RegistryStore() = default;

  // RegOpenKeyExW. An empty subKey opens a new handle to `base` itself.
  // `access` may name a registry view (access::Wow64Key32 or Wow64Key64).
  [[nodiscard]] virtual long OpenKey(KeyHandle base, const std::string& subKey,
                                     std::uint32_t access, KeyHandle* result) = 0;
  // RegCreateKeyExW (non-volatile): creates every missing key along subKey.
  [[nodiscard]] virtual long CreateKey(KeyHandle base, const std::string& subKey,
                                       std::uint32_t access, KeyHandle* result) = 0;
  // RegCloseKey. Closing a root handle is allowed and does nothing.
  virtual long CloseKey(KeyHandle key) = 0;
  // RegQueryInfoKeyW.
  [[nodiscard]] virtual long QueryInfoKey(KeyHandle key, KeyInfo* info) = 0;
  // RegEnumKeyExW / RegEnumValueW: the name at `index` in enumeration order.
  [[nodiscard]] virtual long EnumKey(KeyHandle key, std::uint32_t index,
                                     std::string* name) = 0;
  [[nodiscard]] virtual long EnumValue(KeyHandle key, std::uint32_t index,
                                       std::string* name) = 0;
  // RegEnumValueW with type and data: the name, type and all data bytes of
  // the value at `index`, so that walking a key's values takes one call per
  // value. A store without such a call answers from EnumValue and QueryValue.
  [[nodiscard]] virtual long EnumValueData(KeyHandle key, std::uint32_t index,
                                           std::string* name, std::uint32_t* type,
                                           std::vector<std::uint8_t>* data) {
    const long rc = EnumValue(key, index, name);
    if (rc != 0) return rc;
    return QueryValue(key, *name, type, data);
  }
  // RegQueryValueExW: type and all data bytes of one value ("" = default).
  [[nodiscard]] virtual long QueryValue(KeyHandle key, const std::string& name,
                                        std::uint32_t* type,
                                        std::vector<std::uint8_t>* data) = 0;
  // RegQueryValueExW without a buffer: type and size only. The Windows store
  // saves a round trip with it; others may answer from QueryValue.
  [[nodiscard]] virtual long QueryValueInfo(KeyHandle key, const std::string& name,
                                            std::uint32_t* type, std::uint32_t* size) {
    std::vector<std::uint8_t> data;
    const long rc = QueryValue(key, name, type, &data);
    if (rc == 0) *size = static_cast<std::uint32_t>(data.size());
    return rc;
  }
  // RegSetValueExW.
  virtual long SetValue(KeyHandle key, const std::string& name,
                        std::uint32_t type, const std::uint8_t* data,
                        std::size_t size) = 0;
  // RegDeleteValueW.
  virtual long DeleteValue(KeyHandle key, const std::string& name) = 0;
  // RegDeleteKeyW: fails when the key still has subkeys.
  virtual long DeleteKey(KeyHandle base, const std::string& subKey) = 0;
  // RegFlushKey, RegSaveKeyW, RegReplaceKeyW: whole-hive operations. A store
  // reports their result as far as it can carry them out.
  virtual long FlushKey(KeyHandle key) = 0;
  virtual long SaveKey(KeyHandle key, const std::string& fileName) = 0;
  virtual long ReplaceKey(KeyHandle key, const std::string& subKey,
                          const std::string& newFile,
                          const std::string& oldFile) = 0;
};

}  // namespace tidewell
