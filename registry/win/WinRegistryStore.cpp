#include "registry/win/WinRegistryStore.h"

#include <windows.h>

#include <algorithm>

#include "platform/win/WideText.h"

namespace tidewell {
namespace {

bool IsRoot(KeyHandle key) {
  return key >= RootHandle(TRootKey::ClassesRoot) &&
         key <= RootHandle(TRootKey::Users);
}

// The predefined handles are sign-extended 32-bit values on 64-bit Windows.
HKEY ToHkey(KeyHandle key) {
  if (IsRoot(key)) {
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(
        static_cast<std::int32_t>(static_cast<std::uint32_t>(key))));
  }
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(key));
}

KeyHandle FromHkey(HKEY key) {
  return static_cast<KeyHandle>(reinterpret_cast<ULONG_PTR>(key));
}

}  // namespace

long WinRegistryStore::OpenKey(KeyHandle base, const std::string& subKey,
                               std::uint32_t access, KeyHandle* result) {
  HKEY opened = nullptr;
  const LONG rc = RegOpenKeyExW(ToHkey(base), WideText(subKey).c_str(), 0,
                                access, &opened);
  if (rc == ERROR_SUCCESS) *result = FromHkey(opened);
  return rc;
}

long WinRegistryStore::CreateKey(KeyHandle base, const std::string& subKey,
                                 std::uint32_t access, KeyHandle* result) {
  HKEY created = nullptr;
  const LONG rc =
      RegCreateKeyExW(ToHkey(base), WideText(subKey).c_str(), 0, nullptr,
                      REG_OPTION_NON_VOLATILE, access, nullptr, &created, nullptr);
  if (rc == ERROR_SUCCESS) *result = FromHkey(created);
  return rc;
}

long WinRegistryStore::CloseKey(KeyHandle key) {
  if (IsRoot(key)) return ERROR_SUCCESS;
  return RegCloseKey(ToHkey(key));
}

long WinRegistryStore::QueryInfoKey(KeyHandle key, KeyInfo* info) {
  DWORD subKeys = 0, maxSubKeyLen = 0, values = 0, maxValueNameLen = 0,
        maxValueLen = 0;
  const LONG rc = RegQueryInfoKeyW(ToHkey(key), nullptr, nullptr, nullptr,
                                   &subKeys, &maxSubKeyLen, nullptr, &values,
                                   &maxValueNameLen, &maxValueLen, nullptr,
                                   nullptr);
  if (rc == ERROR_SUCCESS) {
    info->subKeyCount = subKeys;
    info->maxSubKeyNameLength = maxSubKeyLen;
    info->valueCount = values;
    info->maxValueNameLength = maxValueNameLen;
    info->maxValueDataSize = maxValueLen;
  }
  return rc;
}

long WinRegistryStore::EnumKey(KeyHandle key, std::uint32_t index,
                               std::string* name) {
  // Key names are at most 255 characters: one small buffer always fits.
  wchar_t buffer[kMaxKeyNameLength + 1];
  DWORD length = kMaxKeyNameLength + 1;
  const LONG rc = RegEnumKeyExW(ToHkey(key), index, buffer, &length, nullptr,
                                nullptr, nullptr, nullptr);
  if (rc == ERROR_SUCCESS) *name = NarrowText(buffer, length);
  return rc;
}

long WinRegistryStore::EnumValue(KeyHandle key, std::uint32_t index,
                                 std::string* name) {
  // Most names are short; a long one is fetched again with the largest size.
  std::wstring buffer(256, L'\0');
  for (;;) {
    DWORD length = static_cast<DWORD>(buffer.size());
    const LONG rc = RegEnumValueW(ToHkey(key), index, buffer.data(), &length,
                                  nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_SUCCESS) {
      *name = NarrowText(buffer.data(), length);
      return rc;
    }
    if (rc != ERROR_MORE_DATA || buffer.size() > kMaxValueNameLength) return rc;
    buffer.assign(kMaxValueNameLength + 1, L'\0');
  }
}

long WinRegistryStore::EnumValueData(KeyHandle key, std::uint32_t index,
                                     std::string* name, std::uint32_t* type,
                                     std::vector<std::uint8_t>* data) {
  // Most names and values fit these; a larger one makes the call fail with
  // ERROR_MORE_DATA, and the key then says how large its largest name and
  // data are. Values may grow in between, so that is asked again each time.
  wchar_t smallName[256];
  BYTE smallData[2048];
  std::wstring largeName;
  std::vector<BYTE> largeData;
  wchar_t* nameBuffer = smallName;
  DWORD nameCapacity = 256;
  BYTE* dataBuffer = smallData;
  DWORD dataCapacity = sizeof smallData;
  for (int attempt = 0; attempt < 8; ++attempt) {
    DWORD nameLength = nameCapacity;
    DWORD dataSize = dataCapacity;
    DWORD valueType = 0;
    const LONG rc = RegEnumValueW(ToHkey(key), index, nameBuffer, &nameLength, nullptr,
                                  &valueType, dataBuffer, &dataSize);
    if (rc == ERROR_SUCCESS) {
      *name = NarrowText(nameBuffer, nameLength);
      if (type) *type = valueType;
      if (data) data->assign(dataBuffer, dataBuffer + dataSize);
      return rc;
    }
    if (rc != ERROR_MORE_DATA) return rc;
    DWORD maxNameLength = 0;
    DWORD maxDataSize = 0;
    const LONG info = RegQueryInfoKeyW(ToHkey(key), nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, &maxNameLength,
                                       &maxDataSize, nullptr, nullptr);
    if (info != ERROR_SUCCESS) return info;
    // Never smaller than what was just too small: the value may have grown
    // beyond what the key reported a moment ago.
    largeName.assign(std::max<std::size_t>(maxNameLength + 1, 2 * nameCapacity), L'\0');
    largeData.assign(std::max<std::size_t>(maxDataSize, 2 * std::size_t{dataCapacity}), 0);
    nameBuffer = largeName.data();
    nameCapacity = static_cast<DWORD>(largeName.size());
    dataBuffer = largeData.data();
    dataCapacity = static_cast<DWORD>(largeData.size());
  }
  return ERROR_MORE_DATA;
}

long WinRegistryStore::QueryValue(KeyHandle key, const std::string& name,
                                  std::uint32_t* type,
                                  std::vector<std::uint8_t>* data) {
  // Most values fit a small buffer, so one call usually does; a larger one
  // says its size and is asked for again (it may grow in between).
  const std::wstring wideName = WideText(name);
  data->resize(512);
  for (int attempt = 0; attempt < 8; ++attempt) {
    DWORD valueType = 0;
    DWORD got = static_cast<DWORD>(data->size());
    const LONG rc = RegQueryValueExW(ToHkey(key), wideName.c_str(), nullptr,
                                     &valueType, data->data(), &got);
    if (rc == ERROR_MORE_DATA) {
      data->resize(std::max<std::size_t>(got, data->size() * 2));
      continue;
    }
    if (rc != ERROR_SUCCESS) {
      data->clear();
      return rc;
    }
    data->resize(got);
    *type = valueType;
    return rc;
  }
  data->clear();
  return ERROR_MORE_DATA;
}

long WinRegistryStore::QueryValueInfo(KeyHandle key, const std::string& name,
                                      std::uint32_t* type, std::uint32_t* size) {
  DWORD valueType = 0;
  DWORD valueSize = 0;
  const LONG rc = RegQueryValueExW(ToHkey(key), WideText(name).c_str(), nullptr,
                                   &valueType, nullptr, &valueSize);
  if (rc == ERROR_SUCCESS) {
    *type = valueType;
    *size = valueSize;
  }
  return rc;
}

long WinRegistryStore::SetValue(KeyHandle key, const std::string& name,
                                std::uint32_t type, const std::uint8_t* data,
                                std::size_t size) {
  if (size > MAXDWORD) return ERROR_INVALID_PARAMETER;
  static const BYTE kEmpty = 0;
  if (size > 0 && (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ)) {
    // For string types the system counts a terminating zero that follows the
    // data in memory but lies outside `size` ("the caller forgot it"). A
    // value recorded without one must come back exactly as recorded, so the
    // bytes go from a copy followed by a non-zero character.
    std::vector<BYTE> copy(data, data + size);
    copy.insert(copy.end(), {0xFF, 0xFF});
    return RegSetValueExW(ToHkey(key), WideText(name).c_str(), 0, type, copy.data(),
                          static_cast<DWORD>(size));
  }
  return RegSetValueExW(ToHkey(key), WideText(name).c_str(), 0, type,
                        data ? data : &kEmpty, static_cast<DWORD>(size));
}

long WinRegistryStore::DeleteValue(KeyHandle key, const std::string& name) {
  return RegDeleteValueW(ToHkey(key), WideText(name).c_str());
}

long WinRegistryStore::DeleteKey(KeyHandle base, const std::string& subKey) {
  if (IsRoot(base) && subKey.empty()) return ERROR_ACCESS_DENIED;
  return RegDeleteKeyW(ToHkey(base), WideText(subKey).c_str());
}

long WinRegistryStore::FlushKey(KeyHandle key) {
  return RegFlushKey(ToHkey(key));
}

long WinRegistryStore::SaveKey(KeyHandle key, const std::string& fileName) {
  const std::wstring file = WideText(fileName);
  if (GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES) {
    return ERROR_ALREADY_EXISTS;
  }
  return RegSaveKeyW(ToHkey(key), file.c_str(), nullptr);
}

long WinRegistryStore::ReplaceKey(KeyHandle key, const std::string& subKey,
                                  const std::string& newFile,
                                  const std::string& oldFile) {
  return RegReplaceKeyW(ToHkey(key), WideText(subKey).c_str(),
                        WideText(newFile).c_str(), WideText(oldFile).c_str());
}

}  // namespace tidewell
