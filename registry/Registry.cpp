#include "registry/Registry.h"

#include <cstring>
#include <limits>
#include <utility>

#include "platform/TextEncoding.h"
#include "registry/StoreKey.h"

namespace tidewell {

std::string TrimBackslashes(const std::string& path) {
  std::size_t first = 0;
  while (first < path.size() && path[first] == '\\') ++first;
  std::size_t last = path.size();
  while (last > first && path[last - 1] == '\\') --last;
  return path.substr(first, last - first);
}

namespace {

[[noreturn]] void Fail(const char* format, const std::string& name) {
  std::string message = format;
  message.replace(message.find("%s"), 2, name);
  throw ERegistryException(message);
}

constexpr const char* kInvalidType = "Invalid data type for '%s'";
constexpr const char* kGetFailed = "Failed to get data for '%s'";
constexpr const char* kSetFailed = "Failed to set data for '%s'";

TRegDataType ClassOf(std::uint32_t type) {
  switch (type) {
    case regtype::String:
      return TRegDataType::rdString;
    case regtype::ExpandString:
      return TRegDataType::rdExpandString;
    case regtype::Dword:
      return TRegDataType::rdInteger;
    case regtype::Binary:
      return TRegDataType::rdBinary;
    default:
      return TRegDataType::rdUnknown;
  }
}

// The text up to the first zero code unit; an odd last byte is ignored.
std::string TextOf(const std::vector<std::uint8_t>& data) {
  // A scan reads every string value of the machine, and nearly all of them
  // are ASCII: those characters are copied straight across, and only from
  // the first one that is not does the text go through the full decoding.
  const std::size_t units = data.size() / 2;
  const auto unit = [&data](std::size_t i) {
    return static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  };
  std::string out(units, '\0');
  std::size_t i = 0;
  for (; i < units; ++i) {
    const char16_t c = unit(i);
    if (c == 0 || c >= 0x80) break;
    out[i] = static_cast<char>(c);
  }
  out.resize(i);
  std::u16string rest;
  for (; i < units; ++i) {
    const char16_t c = unit(i);
    if (c == 0) break;
    rest += c;
  }
  if (!rest.empty()) out += Utf16ToUtf8(rest);
  return out;
}

}  // namespace

TRegDataType TRegValue::DataType() const { return ClassOf(Type); }

std::string TRegValue::Text() const { return TextOf(Data); }

TRegistry::TRegistry(RegistryStore& store) : store_(store) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(TRootKey root) {
  if (root == root_) return;
  CloseKey();
  root_ = root;
}

TRegistry::Resolved TRegistry::Resolve(const std::string& path) const {
  const bool relative = path.empty() || path[0] != '\\';
  Resolved r;
  r.relativeToOpen = relative && current_ != kNoKey;
  r.base = r.relativeToOpen ? current_ : RootHandle(root_);
  r.subPath = TrimBackslashes(path);
  return r;
}

long TRegistry::OpenWith(const std::string& path, bool create,
                         std::uint32_t mask) {
  const Resolved r = Resolve(path);
  KeyHandle opened = kNoKey;
  const long rc = (create && !path.empty())
                      ? store_.CreateKey(r.base, r.subPath, mask | view_, &opened)
                      : store_.OpenKey(r.base, r.subPath, mask | view_, &opened);
  if (rc != regerr::Success) return rc;

  std::string newPath;
  if (r.relativeToOpen) {
    newPath = currentPath_.empty() ? path : currentPath_ + "\\" + path;
  } else {
    newPath = path.empty() || path[0] != '\\' ? path : path.substr(1);
  }
  CloseKey();
  current_ = opened;
  currentPath_ = std::move(newPath);
  return regerr::Success;
}

bool TRegistry::OpenKey(const std::string& path, bool create) {
  return OpenWith(path, create, access_) == regerr::Success;
}

bool TRegistry::OpenKeyReadOnly(const std::string& path) {
  for (std::uint32_t mask :
       {access::KeyRead, access::KeyReadNoNotify, access::QueryValue}) {
    const long rc = OpenWith(path, false, mask);
    if (rc == regerr::Success) {
      access_ = mask;
      return true;
    }
    // Only a refused right is worth asking again with fewer rights; a key
    // that is not there stays missing (and each try is a round trip to the
    // registry, which the checks make for thousands of optional keys).
    if (rc != regerr::AccessDenied) return false;
  }
  return false;
}

void TRegistry::CloseKey() {
  if (current_ == kNoKey) return;
  if (!lazyWrite_) store_.FlushKey(current_);
  store_.CloseKey(current_);
  current_ = kNoKey;
  currentPath_.clear();
}

bool TRegistry::KeyExists(const std::string& path) {
  const Resolved r = Resolve(path);
  TStoreKey probe(store_);
  return probe.Open(r.base, r.subPath, access::KeyReadNoNotify | view_) ==
         regerr::Success;
}

bool TRegistry::HasSubKeys() {
  if (current_ == kNoKey) return false;
  KeyInfo info;
  return store_.QueryInfoKey(current_, &info) == regerr::Success &&
         info.subKeyCount > 0;
}

bool TRegistry::GetKeyCounts(std::uint32_t& subKeys, std::uint32_t& values) {
  KeyInfo info;
  if (current_ == kNoKey || store_.QueryInfoKey(current_, &info) != regerr::Success) {
    return false;
  }
  subKeys = info.subKeyCount;
  values = info.valueCount;
  return true;
}

bool TRegistry::GetKeyNames(std::vector<std::string>& list) {
  return GetKeyNames(list, std::numeric_limits<std::uint32_t>::max());
}

bool TRegistry::GetKeyNames(std::vector<std::string>& list, std::uint32_t count) {
  list.clear();
  if (current_ == kNoKey) return false;
  // Stop on any error, not only "no more items": some keys answer every index
  // with an error, and waiting for the end would never finish.
  std::string name;
  for (std::uint32_t i = 0; i < count; ++i) {
    const long result = store_.EnumKey(current_, i, &name);
    if (result != regerr::Success) return result == regerr::NoMoreItems;
    list.push_back(name);
  }
  return true;
}

void TRegistry::GetValueNames(std::vector<std::string>& list) {
  list.clear();
  if (current_ == kNoKey) return;
  std::string name;
  for (std::uint32_t i = 0; store_.EnumValue(current_, i, &name) == regerr::Success; ++i) {
    list.push_back(name);
  }
}

void TRegistry::GetValues(std::vector<TRegValue>& list) {
  GetValues(list, std::numeric_limits<std::uint32_t>::max());
}

void TRegistry::GetValues(std::vector<TRegValue>& list, std::uint32_t count) {
  list.clear();
  if (current_ == kNoKey) return;
  for (std::uint32_t i = 0; i < count; ++i) {
    TRegValue value;
    if (store_.EnumValueData(current_, i, &value.Name, &value.Type, &value.Data) !=
        regerr::Success) {
      return;
    }
    list.push_back(std::move(value));
  }
}

bool TRegistry::QueryRaw(const std::string& name, std::uint32_t& type,
                         std::vector<std::uint8_t>& data) {
  if (current_ == kNoKey) return false;
  return store_.QueryValue(current_, name, &type, &data) == regerr::Success;
}

bool TRegistry::GetDataInfo(const std::string& name, TRegDataInfo& info) {
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (current_ == kNoKey ||
      store_.QueryValueInfo(current_, name, &type, &size) != regerr::Success) {
    info = TRegDataInfo{};
    return false;
  }
  info.RegData = ClassOf(type);
  info.DataSize = static_cast<int>(size);
  return true;
}

TRegDataType TRegistry::GetDataType(const std::string& name) {
  TRegDataInfo info;
  return GetDataInfo(name, info) ? info.RegData : TRegDataType::rdUnknown;
}

int TRegistry::GetDataSize(const std::string& name) {
  TRegDataInfo info;
  return GetDataInfo(name, info) ? info.DataSize : -1;
}

bool TRegistry::ValueExists(const std::string& name) {
  TRegDataInfo info;
  return GetDataInfo(name, info);
}

std::string TRegistry::ReadString(const std::string& name) {
  return ReadStringIfPresent(name).value_or("");
}

std::optional<std::string> TRegistry::ReadStringIfPresent(const std::string& name) {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  if (!QueryRaw(name, type, data)) return std::nullopt;
  if (data.empty()) return "";
  const TRegDataType cls = ClassOf(type);
  if (cls != TRegDataType::rdString && cls != TRegDataType::rdExpandString) {
    Fail(kInvalidType, name);
  }
  return TextOf(data);
}

std::int32_t TRegistry::ReadInteger(const std::string& name) {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  if (!QueryRaw(name, type, data) || data.size() > 4) Fail(kGetFailed, name);
  if (type != regtype::Dword) Fail(kInvalidType, name);
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < data.size(); ++i) value |= std::uint32_t{data[i]} << (8 * i);
  return static_cast<std::int32_t>(value);
}

bool TRegistry::ReadBool(const std::string& name) { return ReadInteger(name) != 0; }

int TRegistry::ReadBinaryData(const std::string& name, void* buffer,
                              int capacity) {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  if (!QueryRaw(name, type, data)) return 0;
  const TRegDataType cls = ClassOf(type);
  if ((cls != TRegDataType::rdBinary && cls != TRegDataType::rdUnknown) ||
      capacity < 0 || static_cast<std::size_t>(capacity) < data.size()) {
    Fail(kInvalidType, name);
  }
  if (!data.empty()) std::memcpy(buffer, data.data(), data.size());
  return static_cast<int>(data.size());
}

bool TRegistry::ReadRawValue(const std::string& name, std::uint32_t& type,
                             std::vector<std::uint8_t>& data) {
  return QueryRaw(name, type, data);
}

void TRegistry::SetValue(const std::string& name, std::uint32_t type,
                         const std::vector<std::uint8_t>& data) {
  if (current_ == kNoKey ||
      store_.SetValue(current_, name, type, data.data(), data.size()) !=
          regerr::Success) {
    Fail(kSetFailed, name);
  }
}

void TRegistry::WriteString(const std::string& name, const std::string& text) {
  SetValue(name, regtype::String, RegStringBytes(text));
}

void TRegistry::WriteExpandString(const std::string& name,
                                  const std::string& text) {
  SetValue(name, regtype::ExpandString, RegStringBytes(text));
}

void TRegistry::WriteInteger(const std::string& name, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  SetValue(name, regtype::Dword,
           {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)});
}

void TRegistry::WriteBinaryData(const std::string& name, const void* buffer,
                                int size) {
  if (size < 0) Fail(kSetFailed, name);
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  SetValue(name, regtype::Binary,
           std::vector<std::uint8_t>(bytes, bytes + (bytes ? size : 0)));
}

void TRegistry::WriteRawValue(const std::string& name, std::uint32_t type,
                              const std::vector<std::uint8_t>& data) {
  SetValue(name, type, data);
}

bool TRegistry::DeleteValue(const std::string& name) {
  return current_ != kNoKey &&
         store_.DeleteValue(current_, name) == regerr::Success;
}

namespace {

// Removes everything below `key`, taking the subkeys from the last to the
// first at each level so the indexes of the ones still to come stay valid.
void DeleteSubKeys(RegistryStore& store, KeyHandle key, std::uint32_t mask) {
  KeyInfo info;
  if (store.QueryInfoKey(key, &info) != regerr::Success) return;
  for (std::uint32_t i = info.subKeyCount; i-- > 0;) {
    std::string name;
    if (store.EnumKey(key, i, &name) != regerr::Success) continue;
    TStoreKey child(store);
    if (child.Open(key, name, mask) == regerr::Success) {
      DeleteSubKeys(store, child.Get(), mask);
    }
    child.Close();
    store.DeleteKey(key, name);
  }
}

}  // namespace

bool TRegistry::DeleteKey(const std::string& path) {
  const Resolved r = Resolve(path);
  {
    TStoreKey target(store_);
    if (target.Open(r.base, r.subPath, access_) == regerr::Success) {
      DeleteSubKeys(store_, target.Get(), access_);
    }
  }
  return store_.DeleteKey(r.base, r.subPath) == regerr::Success;
}

bool TRegistry::SaveKey(const std::string& path, const std::string& fileName) {
  const Resolved r = Resolve(path);
  TStoreKey key(store_);
  if (key.Open(r.base, r.subPath, access_) != regerr::Success) return false;
  return store_.SaveKey(key.Get(), fileName) == regerr::Success;
}

long RegFlushKey(RegistryStore& store, TRootKey root) {
  return store.FlushKey(RootHandle(root));
}

long RegReplaceKey(RegistryStore& store, TRootKey root,
                   const std::string& subKey, const std::string& newFile,
                   const std::string& oldFile) {
  return store.ReplaceKey(RootHandle(root), subKey, newFile, oldFile);
}

bool RegWriteStringValue(RegistryStore& store, TRootKey root,
                         const std::string& fullName, const std::string& text) {
  const std::size_t slash = fullName.rfind('\\');
  if (slash == std::string::npos) return false;
  TStoreKey key(store);
  if (key.Create(RootHandle(root), TrimBackslashes(fullName.substr(0, slash)),
                 access::KeyWrite) != regerr::Success) {
    return false;
  }
  const std::vector<std::uint8_t> data = RegStringBytes(text);
  return store.SetValue(key.Get(), fullName.substr(slash + 1), regtype::String,
                        data.data(), data.size()) == regerr::Success;
}

}  // namespace tidewell
