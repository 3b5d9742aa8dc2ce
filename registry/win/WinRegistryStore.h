// The Windows registry through advapi32's W functions. Handles are HKEYs;
// names and paths are converted to UTF-16 at this boundary and nowhere else.
#pragma once

#include "registry/RegistryStore.h"

namespace tidewell {

class WinRegistryStore final : public RegistryStore {
 public:
  long OpenKey(KeyHandle base, const std::string& subKey, std::uint32_t access,
               KeyHandle* result) override;
  long CreateKey(KeyHandle base, const std::string& subKey,
                 std::uint32_t access, KeyHandle* result) override;
  long CloseKey(KeyHandle key) override;
  long QueryInfoKey(KeyHandle key, KeyInfo* info) override;
  long EnumKey(KeyHandle key, std::uint32_t index, std::string* name) override;
  long EnumValue(KeyHandle key, std::uint32_t index,
                 std::string* name) override;
  // One RegEnumValueW per value; buffers too small for the value are sized
  // from RegQueryInfoKeyW and the call made again.
  long EnumValueData(KeyHandle key, std::uint32_t index, std::string* name,
                     std::uint32_t* type,
                     std::vector<std::uint8_t>* data) override;
  long QueryValue(KeyHandle key, const std::string& name, std::uint32_t* type,
                  std::vector<std::uint8_t>* data) override;
  long QueryValueInfo(KeyHandle key, const std::string& name,
                      std::uint32_t* type, std::uint32_t* size) override;
  long SetValue(KeyHandle key, const std::string& name, std::uint32_t type,
                const std::uint8_t* data, std::size_t size) override;
  long DeleteValue(KeyHandle key, const std::string& name) override;
  long DeleteKey(KeyHandle base, const std::string& subKey) override;
  long FlushKey(KeyHandle key) override;
  // Fails with ERROR_ALREADY_EXISTS when the file exists, as Windows does;
  // Wine's RegSaveKey would overwrite it.
  long SaveKey(KeyHandle key, const std::string& fileName) override;
  long ReplaceKey(KeyHandle key, const std::string& subKey,
                  const std::string& newFile,
                  const std::string& oldFile) override;
};

}  // namespace tidewell
