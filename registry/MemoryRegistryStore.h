// MemoryRegistryStore: the Windows registry as the W APIs show it, held in
// memory. Tests and benchmarks run the registry object, the scan and the undo
// code over it without Windows, so it answers every call the way Windows does,
// down to the error codes. Where Wine 8 answers differently the difference is
// written here, because the same tests also run against the Wine registry.
//
// Trees. HKEY_LOCAL_MACHINE and HKEY_USERS are trees of their own. As on
// Windows, HKEY_CURRENT_USER is not a separate tree but the key
// HKEY_USERS\S-1-5-21-0-0-0-1000 (the SID Wine gives its one user). A new
// store holds that key and the keys every Windows registry has and
// HKEY_CLASSES_ROOT stands on, spelt as Windows spells them:
// HKLM\SOFTWARE\Classes and HKCU\Software\Classes (Wine spells the first
// "Software"). Like the roots, these keys cannot be deleted
// (ERROR_ACCESS_DENIED), which is also what Windows answers for hive roots and
// hive links. HKEY_CLASSES_ROOT is the merged
// view Windows gives of HKLM\Software\Classes and HKCU\Software\Classes:
//   - a key opened through it is found in either tree; a handle is bound when it
//     is opened to the user key if that exists, else to the machine key;
//   - its subkeys are those of both keys at the same path, each name once,
//     spelled as the user tree spells it when both have it;
//   - its values are those of the bound key, and values are written there too
//     (so to the user key whenever the key existed under HKCU\Software\Classes);
//   - keys created through it are created under HKLM\Software\Classes;
//   - deleting through it deletes the user key if there is one, else the
//     machine key.
// Wine 8 shows only HKLM\Software\Classes under HKEY_CLASSES_ROOT.
//
// Views. The store is a 64-bit registry as a 64-bit program sees it. An open
// with KEY_WOW64_32KEY looks in the 32-bit view, as Windows and Wine do: below
// a key that has a Wow6432Node subkey the next name is taken from there;
// below a Classes key (and HKEY_CLASSES_ROOT) only the names its Wow6432Node
// holds are, every other class key being shared by both views. Keys that
// Windows shares outside Classes are not linked here: a test plants them in
// both places (Wine links them). Creating ignores the view. Wine 8 does not
// share the other class keys: its 32-bit view of the classes holds only what
// their Wow6432Node holds. SetSeenBy32BitProgram makes the
// 32-bit view the default of every open, as a 32-bit program on a 64-bit
// Windows has it; KEY_WOW64_64KEY then asks for the 64-bit view.
//
// Names are compared without regard to letter case (upper-cased as Windows
// does) and kept as first written: creating "FOO" where "Foo" exists opens
// "Foo", and rewriting value "NAME" keeps the name "Name".
//
// Enumeration order, as Windows gives it: subkeys sorted by their upper-cased
// name (compared as UTF-16 code units); values in creation order, a rewritten
// value keeping its place and a deleted and re-created one moving to the end.
// Wine 8 lists subkeys and values alike sorted by lower-cased name.
//
// Paths. Components are separated by backslashes; repeated backslashes count as
// one (Wine and Windows both skip them). A leading backslash is refused with
// ERROR_BAD_PATHNAME. A component longer than 255 UTF-16 units, the documented
// limit, is refused with ERROR_INVALID_PARAMETER by open and create alike
// (Wine 8 still accepts 256 units and refuses from 257 on).
//
// Handles. Every open or create hands out a new handle value, never reused
// after it is closed (so a stale handle answers ERROR_INVALID_HANDLE instead of
// reaching some other key), never 0 and never one of the root values. The four
// roots are always valid, have all rights and closing them does nothing. A
// handle grants exactly the rights requested (generic rights and
// MAXIMUM_ALLOWED are mapped to key rights). Checks run in Windows' order:
// handle, then rights, then whether the key has been deleted meanwhile
// (ERROR_KEY_DELETED). Reading values and QueryInfoKey need KEY_QUERY_VALUE,
// listing values too; listing subkeys needs KEY_ENUMERATE_SUB_KEYS; writing and
// deleting values need KEY_SET_VALUE. Opening, creating and deleting subkeys
// ask nothing of the base handle: Windows checks them against the keys'
// security descriptors, not the handle's rights (RegCreateKeyEx's documentation
// says a KEY_READ handle may create subkeys; Wine 8 agrees), and every key here
// grants everything to everyone.
//
// Hive operations. FlushKey succeeds on any valid handle and is recorded.
// SaveKey writes the key's subtree to a host file (std::filesystem path) and
// refuses an existing file with ERROR_ALREADY_EXISTS, as Windows does (Wine
// overwrites). The file is text:
//   Tidewell memory hive
//   []                      the saved key itself
//   "Name"=hex(1):41,00,00,00
//   @=hex(4):01,00,00,00    the default value
//   [Sub\Deeper]            keys by path below the saved key, in pre-order
// with every value as its type number and bytes, names escaped as \\ and \".
// ReplaceKey is recorded (ReplaceRequests) and succeeds when the subkey exists.
//
// One mutex guards the whole store, so two threads may use it at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "registry/RegistryStore.h"

namespace tidewell {

class MemoryRegistryStore : public RegistryStore {
 public:
  // The key of HKEY_USERS that HKEY_CURRENT_USER is.
  static constexpr const char* kCurrentUserSid = "S-1-5-21-0-0-0-1000";

  struct ReplaceRequest {
    KeyHandle key = kNoKey;
    std::string subKey;
    std::string newFile;
    std::string oldFile;
    long result = 0;
  };

  MemoryRegistryStore();
  ~MemoryRegistryStore() override;
  MemoryRegistryStore(const MemoryRegistryStore&) = delete;
  MemoryRegistryStore& operator=(const MemoryRegistryStore&) = delete;

  long OpenKey(KeyHandle base, const std::string& subKey, std::uint32_t access,
               KeyHandle* result) override;
  long CreateKey(KeyHandle base, const std::string& subKey,
                 std::uint32_t access, KeyHandle* result) override;
  long CloseKey(KeyHandle key) override;
  long QueryInfoKey(KeyHandle key, KeyInfo* info) override;
  long EnumKey(KeyHandle key, std::uint32_t index, std::string* name) override;
  long EnumValue(KeyHandle key, std::uint32_t index,
                 std::string* name) override;
  long EnumValueData(KeyHandle key, std::uint32_t index, std::string* name,
                     std::uint32_t* type,
                     std::vector<std::uint8_t>* data) override;
  long QueryValue(KeyHandle key, const std::string& name, std::uint32_t* type,
                  std::vector<std::uint8_t>* data) override;
  long SetValue(KeyHandle key, const std::string& name, std::uint32_t type,
                const std::uint8_t* data, std::size_t size) override;
  long DeleteValue(KeyHandle key, const std::string& name) override;
  long DeleteKey(KeyHandle base, const std::string& subKey) override;
  long FlushKey(KeyHandle key) override;
  long SaveKey(KeyHandle key, const std::string& fileName) override;
  long ReplaceKey(KeyHandle key, const std::string& subKey,
                  const std::string& newFile,
                  const std::string& oldFile) override;

  // What the hive operations were asked to do, oldest first. Requests on an
  // invalid handle are not recorded.
  std::vector<ReplaceRequest> ReplaceRequests() const;
  std::vector<KeyHandle> FlushRequests() const;
  // Handles handed out and not yet closed (roots not counted): lets tests see
  // that a caller closes what it opens.
  std::size_t OpenHandleCount() const;
  void SetSeenBy32BitProgram(bool seen);

 private:
  struct State;
  mutable std::mutex mutex_;
  std::unique_ptr<State> state_;
};

}  // namespace tidewell
