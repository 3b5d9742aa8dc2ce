// TRegistry: the registry object every subsystem uses. One root key, at most one
// open key, and read, write, enumerate and delete operations on it. Opens,
// existence tests and deletions report failure by a false result; value reads
// and writes that fail throw ERegistryException.
//
// Path rule for OpenKey, OpenKeyReadOnly, KeyExists, DeleteKey and SaveKey: a
// path that is empty or does not start with a backslash is relative to the open
// key (or the root when none is open); a leading backslash makes it absolute
// from the root; a trailing backslash names the same key; the empty path names
// the base key itself. The store never sees a leading or trailing backslash.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "registry/RegistryStore.h"
#include "registry/RegistryTypes.h"

namespace tidewell {

class ERegistryException : public std::runtime_error {
 public:
  explicit ERegistryException(const std::string& message)
      : std::runtime_error(message) {}
};

// `path` without its leading and trailing backslashes: the store, like Wine's
// advapi32, must never see one.
std::string TrimBackslashes(const std::string& path);

// One value of a key as a walk over its values reads it: the name, the type
// and the data in one piece.
struct TRegValue {
  std::string Name;
  std::uint32_t Type = 0;  // REG_*
  std::vector<std::uint8_t> Data;

  // The class GetDataType reports for the value.
  TRegDataType DataType() const;
  // The text ReadString gives for a string value: up to the first zero code
  // unit, empty for no data.
  std::string Text() const;
};

struct TRegDataInfo {
  TRegDataType RegData = TRegDataType::rdUnknown;
  int DataSize = 0;
};

class TRegistry {
 public:
  // The store must outlive the object. Root HKEY_CURRENT_USER, no key open,
  // Access KEY_ALL_ACCESS, LazyWrite true.
  explicit TRegistry(RegistryStore& store);
  ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  TRootKey RootKey() const { return root_; }
  // A different root closes the open key first; the same root changes nothing.
  void SetRootKey(TRootKey root);
  KeyHandle CurrentKey() const { return current_; }
  const std::string& CurrentPath() const { return currentPath_; }
  std::uint32_t Access() const { return access_; }
  void SetAccess(std::uint32_t access) { access_ = access; }
  // The registry view (access::Wow64Key32 or Wow64Key64, or 0 for the
  // process's own) that OpenKey, OpenKeyReadOnly and KeyExists work in.
  std::uint32_t View() const { return view_; }
  void SetView(std::uint32_t view) { view_ = view; }
  bool LazyWrite() const { return lazyWrite_; }
  void SetLazyWrite(bool lazy) { lazyWrite_ = lazy; }

  bool OpenKey(const std::string& path, bool create);
  // Tries KEY_READ, then KEY_READ without notify, then KEY_QUERY_VALUE; the
  // first mask that opens the key stays in Access for later opens.
  bool OpenKeyReadOnly(const std::string& path);
  void CloseKey();
  bool KeyExists(const std::string& path);
  bool HasSubKeys();
  // The open key's subkey names. True when the store said "no more items"
  // at the end, so the list is known to be whole; false when a refusal cut
  // it short.
  bool GetKeyNames(std::vector<std::string>& list);
  void GetValueNames(std::vector<std::string>& list);
  // Every value of the open key with its type and data, in the order
  // GetValueNames lists them, one store call each instead of a listing and a
  // read per value. Stops at the first value the store refuses, as
  // GetValueNames does.
  void GetValues(std::vector<TRegValue>& list);
  // The open key's number of subkeys and of values, in one store call; false
  // when the key cannot say.
  bool GetKeyCounts(std::uint32_t& subKeys, std::uint32_t& values);
  // GetKeyNames and GetValues asking for no more than `count` items: with
  // the count GetKeyCounts gave, a listing ends without the one more call
  // that only answers "no more items". A key that grew in between lists the
  // items counted; one that shrank, what it still holds. True when the
  // listing ended at `count` or at "no more items".
  bool GetKeyNames(std::vector<std::string>& list, std::uint32_t count);
  void GetValues(std::vector<TRegValue>& list, std::uint32_t count);

  bool GetDataInfo(const std::string& name, TRegDataInfo& info);
  TRegDataType GetDataType(const std::string& name);
  int GetDataSize(const std::string& name);
  bool ValueExists(const std::string& name);

  std::string ReadString(const std::string& name);
  // ReadString of a value that may be missing: nothing when it is. One store
  // call where ValueExists and then ReadString take two.
  std::optional<std::string> ReadStringIfPresent(const std::string& name);
  std::int32_t ReadInteger(const std::string& name);
  bool ReadBool(const std::string& name);
  int ReadBinaryData(const std::string& name, void* buffer, int capacity);
  // The raw type and bytes of a value, for callers that must keep every type
  // (the undo writer). False when the value does not exist.
  bool ReadRawValue(const std::string& name, std::uint32_t& type,
                    std::vector<std::uint8_t>& data);

  void WriteString(const std::string& name, const std::string& text);
  void WriteExpandString(const std::string& name, const std::string& text);
  void WriteInteger(const std::string& name, std::int32_t value);
  void WriteBinaryData(const std::string& name, const void* buffer, int size);
  // Writes a value of any type from raw bytes (restoring what was recorded).
  void WriteRawValue(const std::string& name, std::uint32_t type,
                     const std::vector<std::uint8_t>& data);

  bool DeleteValue(const std::string& name);
  bool DeleteKey(const std::string& path);
  bool SaveKey(const std::string& path, const std::string& fileName);

  RegistryStore& Store() { return store_; }

 private:
  struct Resolved {
    KeyHandle base;       // the key the relative part is resolved against
    std::string subPath;  // no leading or trailing backslash
    bool relativeToOpen;  // resolved against the open key
  };
  Resolved Resolve(const std::string& path) const;
  // The store's result code.
  long OpenWith(const std::string& path, bool create, std::uint32_t mask);
  void SetValue(const std::string& name, std::uint32_t type,
                const std::vector<std::uint8_t>& data);
  bool QueryRaw(const std::string& name, std::uint32_t& type,
                std::vector<std::uint8_t>& data);

  RegistryStore& store_;
  TRootKey root_ = TRootKey::CurrentUser;
  KeyHandle current_ = kNoKey;
  std::string currentPath_;
  std::uint32_t access_ = access::KeyAllAccess;
  std::uint32_t view_ = 0;
  bool lazyWrite_ = true;
};

// Hive operations on a root, outside any registry object.
long RegFlushKey(RegistryStore& store, TRootKey root);
long RegReplaceKey(RegistryStore& store, TRootKey root,
                   const std::string& subKey, const std::string& newFile,
                   const std::string& oldFile);

// Writes a REG_SZ value named by its full name: the key path before the last
// backslash, the value name after it (empty = default value). Creates the key.
// False when there is no backslash or the registry refuses; never throws.
bool RegWriteStringValue(RegistryStore& store, TRootKey root,
                         const std::string& fullName, const std::string& text);

}  // namespace tidewell
