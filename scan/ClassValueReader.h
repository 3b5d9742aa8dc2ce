// How the class checks read the keys of HKEY_CLASSES_ROOT they look at: the
// values of a key, and the subkeys of an entry.
//
// Most of those keys are keys the file list will read again at
// HKEY_LOCAL_MACHINE\Software\Classes. When the file list is part of the
// scan and a key is certainly the machine's (no registration of the user's
// stands over its entry), the reader reads it as the file list would and
// keeps what the file list needs of it in the engine's SharedKeys
// (SharedKeyReads.h): of a key without subkeys, all its values in one
// listing and the file list's judgement of them; of an entry, the names of
// its subkeys, so that the check opens only the subkeys that are there.
// Otherwise it reads as a check always has: the values it wants, one by one.
//
// Every key is closed again before the caller tests anything. Used on the
// scan thread only, for the length of one check.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "registry/Registry.h"
#include "scan/FileReferences.h"
#include "scan/RegistryWork.h"

namespace tidewell {

class TClassValueReader {
 public:
  TClassValueReader(TRegistryCheckThread& engine, TFileReferences& refs);

  // The default value of the key at `path`, below the entry `entry` the check
  // examines (paths from the root of the engine's registry); nothing when the
  // key cannot be opened. A value that is not text fails as a read of it
  // always has.
  std::optional<std::string> Read(const std::string& entry, const std::string& path);
  // The string values `names` ("" the default) of that key, each empty when
  // missing.
  std::optional<std::vector<std::string>> ReadValues(
      const std::string& entry, const std::string& path,
      const std::vector<std::string>& names);

  // The names of the subkeys of `entry`, listed once for the check and the
  // file list. Nothing when opening each wanted subkey costs less: with no
  // file list to share the listing with, with a user registration over the
  // entry, when the listing is cut short, or for a folder of many entries
  // (the classes root holds CLSID and the like), whose names are not worth
  // keeping.
  std::optional<std::vector<std::string>> ListEntry(const std::string& entry);

 private:
  enum class TUserFolder { Absent, Listed, Unlisted };

  bool Sharing() const;
  bool MachineOwns(const std::string& entry);
  bool Owned(const std::string& inRoot);
  TUserFolder ListUserFolder(const std::string& folder);

  TRegistryCheckThread& engine_;
  TFileReferences& refs_;
  TRegistry user_;
  std::map<std::string, TUserFolder> userFolders_;
  std::string lastEntry_;
  bool lastOwned_ = false;
};

// Whether the subkey `name` may be among `names`, a key's whole listing: a
// name outside ASCII in it may be one the registry folds onto `name`.
bool MayHave(const std::vector<std::string>& names, const std::string& name);

}  // namespace tidewell
