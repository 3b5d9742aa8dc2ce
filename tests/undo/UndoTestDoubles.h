// Test doubles for the undo tests: a clock that stands still, and a registry
// store that passes every call to a real one except those told to fail.
#pragma once

#include <set>
#include <string>

#include "platform/Clock.h"
#include "registry/RegistryStore.h"

namespace tidewell::testing {

class FixedClock : public TClock {
 public:
  TLocalDateTime Time{2005, 11, 8, 10, 28, 32};
  TLocalDateTime Now() override { return Time; }
  std::string ShortDateText(const TLocalDateTime&) override {
    return "08.11.2005";
  }
  std::string LongTimeText(const TLocalDateTime&) override {
    return "10:28:32";
  }
};

// Fails reads of the values, creation of the keys and writes of the values
// whose names are listed (names as given, exact); everything else reaches the
// inner store.
class FailingRegistryStore : public RegistryStore {
 public:
  explicit FailingRegistryStore(RegistryStore& inner) : inner_(inner) {}

  std::set<std::string> FailQueryValue;
  std::set<std::string> FailSetValue;
  std::set<std::string> FailCreateKey;  // the subKey text as passed
  bool FailEnumKey = false;

  long OpenKey(KeyHandle base, const std::string& subKey, std::uint32_t access,
               KeyHandle* result) override {
    return inner_.OpenKey(base, subKey, access, result);
  }
  long CreateKey(KeyHandle base, const std::string& subKey,
                 std::uint32_t access, KeyHandle* result) override {
    if (FailCreateKey.count(subKey) != 0) return regerr::AccessDenied;
    return inner_.CreateKey(base, subKey, access, result);
  }
  long CloseKey(KeyHandle key) override { return inner_.CloseKey(key); }
  long QueryInfoKey(KeyHandle key, KeyInfo* info) override {
    return inner_.QueryInfoKey(key, info);
  }
  long EnumKey(KeyHandle key, std::uint32_t index, std::string* name) override {
    if (FailEnumKey) return regerr::AccessDenied;
    return inner_.EnumKey(key, index, name);
  }
  long EnumValue(KeyHandle key, std::uint32_t index,
                 std::string* name) override {
    return inner_.EnumValue(key, index, name);
  }
  long QueryValue(KeyHandle key, const std::string& name, std::uint32_t* type,
                  std::vector<std::uint8_t>* data) override {
    if (FailQueryValue.count(name) != 0) return regerr::AccessDenied;
    return inner_.QueryValue(key, name, type, data);
  }
  long SetValue(KeyHandle key, const std::string& name, std::uint32_t type,
                const std::uint8_t* data, std::size_t size) override {
    if (FailSetValue.count(name) != 0) return regerr::AccessDenied;
    return inner_.SetValue(key, name, type, data, size);
  }
  long DeleteValue(KeyHandle key, const std::string& name) override {
    return inner_.DeleteValue(key, name);
  }
  long DeleteKey(KeyHandle base, const std::string& subKey) override {
    return inner_.DeleteKey(base, subKey);
  }
  long FlushKey(KeyHandle key) override { return inner_.FlushKey(key); }
  long SaveKey(KeyHandle key, const std::string& fileName) override {
    return inner_.SaveKey(key, fileName);
  }
  long ReplaceKey(KeyHandle key, const std::string& subKey,
                  const std::string& newFile,
                  const std::string& oldFile) override {
    return inner_.ReplaceKey(key, subKey, newFile, oldFile);
  }

 private:
  RegistryStore& inner_;
};

}  // namespace tidewell::testing
