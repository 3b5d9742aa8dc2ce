#include "scan/ClassValueReader.h"

#include <utility>

#include "platform/CharKinds.h"
#include "platform/TextEncoding.h"
#include "scan/ClassKeyWalk.h"
#include "scan/FileListCheck.h"

namespace tidewell {

namespace {

// The text a read of the string value `name` gives, from a key's whole
// listing: empty when it is missing. Nothing when only the registry can say:
// the value is not text (the read fails), or it is missing while a name
// outside ASCII is listed, which the registry may fold onto it.
std::optional<std::string> StringFromListing(
    const std::vector<TRegValue>& values, const std::string& name) {
  bool allAscii = true;
  for (const TRegValue& value : values) {
    const bool match = name.empty() ? value.Name.empty()
                                    : NamesEqual(value.Name, name);
    if (!match) {
      allAscii = allAscii && IsAscii(value.Name);
      continue;
    }
    const TRegDataType type = value.DataType();
    if (!value.Data.empty() && type != TRegDataType::rdString &&
        type != TRegDataType::rdExpandString) {
      return std::nullopt;
    }
    return value.Text();
  }
  if (!allAscii && !name.empty()) return std::nullopt;
  return std::string();
}

}  // namespace

bool MayHave(const std::vector<std::string>& names, const std::string& name) {
  bool allAscii = true;
  for (const std::string& listed : names) {
    if (NamesEqual(listed, name)) return true;
    allAscii = allAscii && IsAscii(listed);
  }
  return !allAscii;
}

TClassValueReader::TClassValueReader(TRegistryCheckThread& engine,
                                     TFileReferences& refs)
    : engine_(engine), refs_(refs), user_(engine.Registry.Store()) {
  user_.SetRootKey(TRootKey::CurrentUser);
}

std::optional<std::string> TClassValueReader::Read(const std::string& entry,
                                                   const std::string& path) {
  std::optional<std::vector<std::string>> read = ReadValues(entry, path, {""});
  if (!read) return std::nullopt;
  return std::move(read->front());
}

std::optional<std::vector<std::string>> TClassValueReader::ReadValues(
    const std::string& entry, const std::string& path,
    const std::vector<std::string>& names) {
  TRegistry& registry = engine_.Registry;
  const bool sharing = Sharing();
  TReadOnlyKey key(registry, path);
  if (!key.IsOpen()) return std::nullopt;
  const auto readEach = [&] {
    std::vector<std::string> read;
    for (const std::string& name : names) read.push_back(key.ReadString(name));
    return read;
  };
  std::uint32_t subKeyCount = 0;
  std::uint32_t valueCount = 0;
  if (!sharing || !MachineOwns(entry) ||
      !registry.GetKeyCounts(subKeyCount, valueCount) || subKeyCount != 0) {
    return readEach();
  }
  std::vector<TRegValue> values;
  if (valueCount > 0) registry.GetValues(values, valueCount);
  // A listing cut short cannot say a value is missing; the file list then
  // reads the key itself.
  if (values.size() != valueCount) return readEach();
  std::vector<std::string> read;
  for (const std::string& name : names) {
    const std::optional<std::string> text = StringFromListing(values, name);
    // Read again to fail as such a read fails, or to let the registry
    // match a name.
    if (!text) return readEach();
    read.push_back(*text);
  }
  key.Close();
  const std::string machinePath = "Software\\Classes\\" + TrimBackslashes(path);
  try {
    if (auto exam = ExamineLeafForFileList(engine_, refs_, machinePath, values)) {
      engine_.SharedKeys.KeepLeaf(0, machinePath, std::move(*exam));
    }
  } catch (...) {
    // The file list then examines the key itself.
  }
  return read;
}

std::optional<std::vector<std::string>> TClassValueReader::ListEntry(
    const std::string& entry) {
  if (!Sharing() || !MachineOwns(entry)) return std::nullopt;
  TRegistry& registry = engine_.Registry;
  TReadOnlyKey key(registry, TrimBackslashes(entry) + "\\");
  if (!key.IsOpen()) return std::nullopt;
  std::uint32_t subKeyCount = 0;
  std::uint32_t valueCount = 0;
  constexpr std::uint32_t kMostKept = 32;
  if (!registry.GetKeyCounts(subKeyCount, valueCount) || subKeyCount > kMostKept) {
    return std::nullopt;
  }
  std::vector<std::string> names;
  if (subKeyCount > 0) registry.GetKeyNames(names, subKeyCount);
  if (names.size() != subKeyCount) return std::nullopt;
  key.Close();
  engine_.SharedKeys.KeepListing(0, "Software\\Classes\\" + TrimBackslashes(entry),
                                 names);
  return names;
}

// Only a read from the root of the classes in the program's own view, which
// the file list walks, can stand in for the file list's own reading.
bool TClassValueReader::Sharing() const {
  const TRegistry& registry = engine_.Registry;
  return (engine_.Categories & cfFileList) != 0 &&
         registry.RootKey() == TRootKey::ClassesRoot && registry.View() == 0 &&
         registry.CurrentKey() == kNoKey;
}

// Whether the user's classes hold no key of `entry`, so that the classes root
// shows the machine's.
bool TClassValueReader::MachineOwns(const std::string& entry) {
  // A check reads several keys of one entry in a row.
  if (entry == lastEntry_) return lastOwned_;
  lastEntry_ = entry;
  lastOwned_ = false;
  lastOwned_ = Owned(TrimBackslashes(entry));
  return lastOwned_;
}

bool TClassValueReader::Owned(const std::string& inRoot) {
  const std::size_t slash = inRoot.rfind('\\');
  const std::string folder =
      "Software\\Classes" +
      (slash == std::string::npos ? std::string() : "\\" + inRoot.substr(0, slash));
  auto [state, added] = userFolders_.try_emplace(folder, TUserFolder::Unlisted);
  if (added) state->second = ListUserFolder(folder);
  switch (state->second) {
    case TUserFolder::Absent:
      return true;
    case TUserFolder::Listed:
      return !engine_.KeyTests.KeyExists(user_, "Software\\Classes\\" + inRoot);
    case TUserFolder::Unlisted:
      break;
  }
  return false;
}

// Lists the user's `folder` once for the scan's key tests, which then answer
// for its entries without asking the registry.
TClassValueReader::TUserFolder TClassValueReader::ListUserFolder(
    const std::string& folder) {
  if (engine_.KeyTests.ListingOf(user_, folder) != nullptr) {
    return TUserFolder::Listed;
  }
  std::vector<std::string> names;
  {
    TReadOnlyKey key(user_, folder);
    if (!key.IsOpen()) return TUserFolder::Absent;
    if (!user_.GetKeyNames(names)) return TUserFolder::Unlisted;
  }
  engine_.KeyTests.NoteListing(user_, folder, std::move(names));
  return TUserFolder::Listed;
}

}  // namespace tidewell
