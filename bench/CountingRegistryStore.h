// A registry store that counts the calls made through it before passing them
// on, so benchmarks can say how much registry traffic a routine causes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "registry/RegistryStore.h"

namespace tidewell {

// Counted only: a store call costs too little to time each one honestly.
// Only one thread uses the store at a time (the walk, or the scan thread
// while the main thread waits), and the main thread reads the counts after
// the scan thread has been joined.
class CountingRegistryStore final : public RegistryStore {
 public:
  struct Counts {
    std::uint64_t open = 0;
    std::uint64_t openFailed = 0;  // of `open`: keys that were not there
    std::uint64_t close = 0;
    std::uint64_t queryInfo = 0;
    std::uint64_t enumKey = 0;
    std::uint64_t enumValue = 0;
    std::uint64_t queryValue = 0;
    std::uint64_t other = 0;
    std::uint64_t Total() const {
      return open + close + queryInfo + enumKey + enumValue + queryValue +
             other;
    }
  };

  explicit CountingRegistryStore(RegistryStore& inner) : inner_(inner) {}

  const Counts& Snapshot() const { return counts_; }
  void Reset() { counts_ = Counts(); }

  long OpenKey(KeyHandle base, const std::string& subKey, std::uint32_t access,
               KeyHandle* result) override {
    ++counts_.open;
    const long rc = inner_.OpenKey(base, subKey, access, result);
    if (rc != regerr::Success) ++counts_.openFailed;
    return rc;
  }
  long CreateKey(KeyHandle base, const std::string& subKey,
                 std::uint32_t access, KeyHandle* result) override {
    ++counts_.other;
    return inner_.CreateKey(base, subKey, access, result);
  }
  long CloseKey(KeyHandle key) override {
    ++counts_.close;
    return inner_.CloseKey(key);
  }
  long QueryInfoKey(KeyHandle key, KeyInfo* info) override {
    ++counts_.queryInfo;
    return inner_.QueryInfoKey(key, info);
  }
  long EnumKey(KeyHandle key, std::uint32_t index, std::string* name) override {
    ++counts_.enumKey;
    return inner_.EnumKey(key, index, name);
  }
  long EnumValue(KeyHandle key, std::uint32_t index,
                 std::string* name) override {
    ++counts_.enumValue;
    return inner_.EnumValue(key, index, name);
  }
  // One enumeration call, whatever the store below makes of it.
  long EnumValueData(KeyHandle key, std::uint32_t index, std::string* name,
                     std::uint32_t* type,
                     std::vector<std::uint8_t>* data) override {
    ++counts_.enumValue;
    return inner_.EnumValueData(key, index, name, type, data);
  }
  long QueryValue(KeyHandle key, const std::string& name, std::uint32_t* type,
                  std::vector<std::uint8_t>* data) override {
    ++counts_.queryValue;
    return inner_.QueryValue(key, name, type, data);
  }
  long SetValue(KeyHandle key, const std::string& name, std::uint32_t type,
                const std::uint8_t* data, std::size_t size) override {
    ++counts_.other;
    return inner_.SetValue(key, name, type, data, size);
  }
  long DeleteValue(KeyHandle key, const std::string& name) override {
    ++counts_.other;
    return inner_.DeleteValue(key, name);
  }
  long DeleteKey(KeyHandle base, const std::string& subKey) override {
    ++counts_.other;
    return inner_.DeleteKey(base, subKey);
  }
  long FlushKey(KeyHandle key) override {
    ++counts_.other;
    return inner_.FlushKey(key);
  }
  long SaveKey(KeyHandle key, const std::string& fileName) override {
    ++counts_.other;
    return inner_.SaveKey(key, fileName);
  }
  long ReplaceKey(KeyHandle key, const std::string& subKey,
                  const std::string& newFile,
                  const std::string& oldFile) override {
    ++counts_.other;
    return inner_.ReplaceKey(key, subKey, newFile, oldFile);
  }

 private:
  RegistryStore& inner_;
  Counts counts_;
};

}  // namespace tidewell
