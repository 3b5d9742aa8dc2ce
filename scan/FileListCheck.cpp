#include "scan/FileListCheck.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "scan/CloseKeyOnExit.h"
#include "scan/FileRefText.h"

namespace tidewell {
namespace {

constexpr const char* kFileNotFound = "File not found";

bool IsTextValue(TRegDataType type) {
  return type == TRegDataType::rdString || type == TRegDataType::rdExpandString;
}

// Whether a value names a file that is not there, as the file list judges it.
bool NamesMissingFile(TFileReferences& refs, const TRegValue& value,
                      TTestedList* tested) {
  if (!IsTextValue(value.DataType())) return false;
  const std::string data = value.Text();
  return LooksLikeLocalPath(data) && !refs.AllPathsInTextExist(data, tested);
}

// The values of the open key, which has no subkeys: `count` of them as the key
// said, or as many as it lists.
void ExamineValues(TRegistryCheckThread& engine, TFileReferences& refs,
                   std::uint32_t count) {
  TRegistry& registry = engine.Registry;
  engine.ShowStatus(registry.CurrentPath());
  const TFileReferences::TViewScope view(
      refs, refs.ViewOfKey(registry.RootKey(), registry.CurrentPath()));
  // Each value read once, with its type and data, as it is listed: the walk
  // passes every value of both roots, and a read per value after the
  // listing would double the registry's work.
  std::vector<TRegValue> values;
  if (count > 0) registry.GetValues(values, count);
  for (const TRegValue& value : values) {
    if (engine.Terminated()) return;
    ++engine.ProgressPosition;
    if (NamesMissingFile(refs, value, engine.StartTests())) {
      engine.AddRegistryError(registry.RootKey(), registry.CurrentPath(),
                              value.Name, value.Text(), kFileNotFound);
    }
  }
}

// A key the class checks have already examined for the file list: the same
// events as ExamineValues, from what they found.
void ReplayValues(TRegistryCheckThread& engine, const std::string& path,
                  const TLeafExamination& exam) {
  const std::string shown = !path.empty() && path[0] == '\\' ? path.substr(1) : path;
  engine.ShowStatus(shown);
  auto finding = exam.Findings.begin();
  for (std::uint32_t i = 0; i < exam.ValueCount; ++i) {
    if (engine.Terminated()) return;
    ++engine.ProgressPosition;
    if (finding == exam.Findings.end() || finding->ValueIndex != i) continue;
    if (TTestedList* tested = engine.StartTests()) {
      for (const std::string& line : finding->Tested) tested->Add(line);
    }
    engine.AddRegistryError(TRootKey::LocalMachine, shown, finding->Name,
                            finding->Data, kFileNotFound);
    ++finding;
  }
}

// The subkeys `names` of the key `path`, in turn.
void ScanSubKeys(TRegistryCheckThread& engine, TFileReferences& refs,
                 const std::string& path, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    // A key both views share shows below Wow6432Node too; it is examined
    // once, at its own place.
    if (IsSharedKeyMetAgain(refs.Folders().Wow, engine.Registry.RootKey(),
                            path + "\\" + name)) {
      continue;
    }
    ScanFileListKey(engine, refs, path + "\\" + name);
    if (engine.Terminated()) break;
    ++engine.ProgressPosition;
  }
}

}  // namespace

std::optional<TLeafExamination> ExamineLeafForFileList(
    TRegistryCheckThread& engine, TFileReferences& refs,
    const std::string& machinePath, const std::vector<TRegValue>& values) {
  const TFileReferences::TViewScope view(
      refs, refs.ViewOfKey(TRootKey::LocalMachine, machinePath));
  TLeafExamination exam;
  exam.ValueCount = static_cast<std::uint32_t>(values.size());
  TTestedList tested;
  for (std::uint32_t i = 0; i < exam.ValueCount; ++i) {
    if (engine.Terminated()) return std::nullopt;
    tested.Clear();
    if (NamesMissingFile(refs, values[i],
                         engine.ExplainProblems ? &tested : nullptr)) {
      exam.Findings.push_back(
          {i, values[i].Name, values[i].Text(), tested.Take()});
    }
  }
  return exam;
}

void ScanFileListKey(TRegistryCheckThread& engine, TFileReferences& refs,
                     const std::string& path) {
  if (engine.Terminated()) return;
  TRegistry& registry = engine.Registry;
  try {
    registry.CloseKey();
    TLeafExamination shared;
    std::vector<std::string> subKeys;
    const TSharedKeyReads::TKept kept =
        registry.RootKey() == TRootKey::LocalMachine
            ? engine.SharedKeys.Find(registry.View(), path, shared, subKeys)
            : TSharedKeyReads::TKept::Nothing;
    if (kept == TSharedKeyReads::TKept::Leaf) {
      ReplayValues(engine, path, shared);
    } else if (kept == TSharedKeyReads::TKept::Listing) {
      ScanSubKeys(engine, refs, path, subKeys);
    } else if (registry.OpenKeyReadOnly(path)) {
      // The names are taken as the registry spells them: a name with leading
      // or trailing blanks is a different key from the trimmed one.
      //
      // The key's counts come first: a listing of known length needs no last
      // call that only finds no more items, and a key without subkeys needs
      // no listing of them at all.
      std::uint32_t subKeyCount = std::numeric_limits<std::uint32_t>::max();
      std::uint32_t valueCount = std::numeric_limits<std::uint32_t>::max();
      registry.GetKeyCounts(subKeyCount, valueCount);
      if (subKeyCount > 0) registry.GetKeyNames(subKeys, subKeyCount);
      if (!subKeys.empty()) {
        ScanSubKeys(engine, refs, path, subKeys);
      } else {
        try {
          ExamineValues(engine, refs, valueCount);
        } catch (...) {
          // A value that cannot be read ends this key's examination only.
        }
      }
    }
  } catch (...) {
    // A key that cannot be opened or listed is passed over.
  }
  if (engine.ProgressPosition >= kFileListProgressRange) {
    engine.ProgressPosition = 0;
  }
  engine.ShowProgress(engine.ProgressMax, engine.ProgressPosition);
}

void CheckFileList(TRegistryCheckThread& engine, TFileReferences& refs) {
  TRegistry& registry = engine.Registry;
  CloseKeyOnExit closeAtEnd(registry);
  engine.ProgressMax = 0;
  engine.ProgressPosition = 0;
  registry.CloseKey();
  registry.SetRootKey(TRootKey::LocalMachine);
  engine.ProgressMax = kFileListProgressRange;
  if (engine.Terminated()) return;
  ScanFileListKey(engine, refs, "");
  registry.SetRootKey(TRootKey::CurrentUser);
  if (engine.Terminated()) return;
  ScanFileListKey(engine, refs, "");
  engine.ShowProgress(engine.ProgressMax, engine.ProgressPosition);
}

}  // namespace tidewell
