#include "scan/ApplicationChecks.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/TextEncoding.h"
#include "scan/CloseKeyOnExit.h"
#include "scan/EmptyKey.h"
#include "scan/FileRefText.h"

namespace tidewell {
namespace {

constexpr const char* kMissingApplication = "Application does not exists";

constexpr const char* kAppPathsKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
// The folders searched for a bare program name before the usual places.
constexpr const char* kSearchFoldersValue = "Path";

constexpr const char* kUninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kArpCacheKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache";

bool ContainsName(const std::vector<std::string>& names,
                  const std::string& name) {
  for (const std::string& candidate : names) {
    if (NamesEqual(candidate, name)) return true;
  }
  return false;
}

// Whether the Uninstall entry open in `registry` is at fault; `command` gets
// its uninstall command. System components and entries with subkeys are left
// alone.
bool UninstallEntryIsBroken(TRegistry& registry, TFileReferences& refs,
                            std::string& command, TTestedList* tested) {
  command.clear();
  if (registry.ValueExists("SystemComponent") &&
      registry.ReadBool("SystemComponent")) {
    return false;
  }
  if (registry.HasSubKeys()) return false;
  if (auto text = registry.ReadStringIfPresent("UninstallString")) {
    command = std::move(*text);
  } else if (auto quiet = registry.ReadStringIfPresent("QuietUninstallString")) {
    command = std::move(*quiet);
  }
  if (IsEmptyKey(registry)) {
    Note(tested, "values: none but empty texts");
    return true;
  }
  if (TrimText(command).empty()) {
    Note(tested, "uninstall command: empty");
    return true;
  }
  // The library such a command loads cannot be told from its text reliably.
  if (DowncaseUtf8(command).find("rundll32") != std::string::npos) return false;
  return refs.FindFileInSearchPath(command, tested).empty();
}

}  // namespace

void CheckAppPaths(TRegistryCheckThread& engine, TFileReferences& refs) {
  const TFileReferences::TViewScope view(
      refs, refs.ViewOfKey(TRootKey::LocalMachine, kAppPathsKey));
  TRegistry& registry = engine.Registry;
  CloseKeyOnExit closeAtEnd(registry);
  registry.CloseKey();
  registry.SetRootKey(TRootKey::LocalMachine);
  if (!registry.OpenKeyReadOnly(kAppPathsKey)) return;
  std::vector<std::string> entries;
  registry.GetKeyNames(entries);
  registry.CloseKey();
  engine.ProgressMax = static_cast<std::int32_t>(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string& name = entries[i];
    if (engine.Terminated()) return;
    if (i % 5 == 0) engine.ShowStatus("Examining Application Paths: " + name);
    if (registry.OpenKeyReadOnly(std::string(kAppPathsKey) + name + "\\")) {
      const std::string program = registry.ReadString("");
      // Windows itself ignores search folders that are not text; such a
      // value must not end the scan, and the entry is judged without them.
      std::string folders;
      const TRegDataType foldersType = registry.GetDataType(kSearchFoldersValue);
      if (foldersType == TRegDataType::rdString ||
          foldersType == TRegDataType::rdExpandString) {
        folders = registry.ReadString(kSearchFoldersValue);
      }
      registry.CloseKey();
      TTestedList* tested = engine.StartTests();
      if (program.empty()) Note(tested, "program: empty");
      if (program.empty() ||
          !refs.FileExistsInPathList(program, folders, tested)) {
        engine.AddRegistryError(TRootKey::LocalMachine,
                                std::string(kAppPathsKey) + name, "", program,
                                kMissingApplication);
      }
    }
    engine.ShowProgress(engine.ProgressMax, static_cast<std::int32_t>(i));
  }
}

void CheckUninstall(TRegistryCheckThread& engine, TFileReferences& refs) {
  const TFileReferences::TViewScope view(
      refs, refs.ViewOfKey(TRootKey::LocalMachine, kUninstallKey));
  TRegistry& registry = engine.Registry;
  CloseKeyOnExit closeAtEnd(registry);
  registry.CloseKey();
  registry.SetRootKey(TRootKey::LocalMachine);
  if (!registry.OpenKeyReadOnly(kUninstallKey)) return;
  std::vector<std::string> uninstallEntries;
  registry.GetKeyNames(uninstallEntries);

  // Always walked to the end, even when a stop was requested.
  for (const std::string& name : uninstallEntries) {
    registry.CloseKey();
    if (!registry.OpenKeyReadOnly(std::string(kUninstallKey) + "\\" + name)) {
      continue;
    }
    std::string command;
    if (UninstallEntryIsBroken(registry, refs, command, engine.StartTests())) {
      engine.AddRegistryError(TRootKey::LocalMachine, registry.CurrentPath(),
                              "", command, kMissingApplication);
    }
  }

  registry.CloseKey();
  if (!registry.OpenKey(kArpCacheKey, false)) return;
  std::vector<std::string> cachedEntries;
  registry.GetKeyNames(cachedEntries);
  for (const std::string& name : cachedEntries) {
    if (engine.Terminated()) return;
    if (!ContainsName(uninstallEntries, name)) {
      if (TTestedList* tested = engine.StartTests()) {
        tested->Key(TRootKey::LocalMachine,
                    std::string(kUninstallKey) + "\\" + name, false);
      }
      engine.AddRegistryError(TRootKey::LocalMachine,
                              std::string(kArpCacheKey) + "\\" + name, "", "",
                              kMissingApplication);
    }
  }
}

}  // namespace tidewell
