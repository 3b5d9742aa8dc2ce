// TStoreKey: owns one key handle of a registry store and closes it when it
// goes; move-only (the pattern of a scoped registry key). Root handles may be
// held too: closing them does nothing.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "registry/RegistryStore.h"

namespace tidewell {

class TStoreKey {
 public:
  explicit TStoreKey(RegistryStore& store) : store_(&store) {}
  ~TStoreKey() { Close(); }

  TStoreKey(TStoreKey&& other) noexcept
      : store_(other.store_), handle_(std::exchange(other.handle_, kNoKey)) {}
  TStoreKey& operator=(TStoreKey&& other) noexcept {
    if (this != &other) {
      Close();
      store_ = other.store_;
      handle_ = std::exchange(other.handle_, kNoKey);
    }
    return *this;
  }
  TStoreKey(const TStoreKey&) = delete;
  TStoreKey& operator=(const TStoreKey&) = delete;

  // RegOpenKeyExW / RegCreateKeyExW into this owner; a key held before is
  // closed first. The store's result code.
  [[nodiscard]] long Open(KeyHandle base, const std::string& subKey,
                          std::uint32_t access) {
    Close();
    return store_->OpenKey(base, subKey, access, &handle_);
  }
  [[nodiscard]] long Create(KeyHandle base, const std::string& subKey,
                            std::uint32_t access) {
    Close();
    return store_->CreateKey(base, subKey, access, &handle_);
  }

  bool IsOpen() const { return handle_ != kNoKey; }
  KeyHandle Get() const { return handle_; }
  void Close() {
    if (handle_ != kNoKey) store_->CloseKey(handle_);
    handle_ = kNoKey;
  }

 private:
  RegistryStore* store_;
  KeyHandle handle_ = kNoKey;
};

}  // namespace tidewell
