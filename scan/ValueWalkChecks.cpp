#include "scan/ValueWalkChecks.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "scan/CloseKeyOnExit.h"

namespace tidewell {
namespace {

constexpr const char* kSharedDllsKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
// The trailing backslash is part of the key path the problems carry.
constexpr const char* kStartupRunKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\";

struct Section {
  const char* key;
  const char* label;
};
constexpr Section kHelpSections[] = {
    {"SOFTWARE\\Microsoft\\Windows\\HTML Help", "HTML Help"},
    {"SOFTWARE\\Microsoft\\Windows\\Help", "Help"},
};
constexpr Section kFontSections[] = {
    {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts",
     "Windows NT Fonts"},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Fonts", "Windows Fonts"},
};

// Called once per value, with its index and name (empty: the default value).
using ValueVisitor =
    std::function<void(std::size_t index, const std::string& name)>;

void ShowStatusEveryFifth(TRegistryCheckThread& engine, std::size_t index,
                          const std::string& text) {
  if (index % 5 == 0) engine.ShowStatus(text);
}

// Walks the values of `keyPath` below HKEY_LOCAL_MACHINE. False when a stop
// request ended the walk.
bool WalkValues(TRegistryCheckThread& engine, const std::string& keyPath,
                const ValueVisitor& visit) {
  TRegistry& registry = engine.Registry;
  CloseKeyOnExit closeAtEnd(registry);
  registry.CloseKey();
  registry.SetRootKey(TRootKey::LocalMachine);
  if (!registry.OpenKeyReadOnly(keyPath)) return true;
  std::vector<std::string> names;
  registry.GetValueNames(names);
  engine.ProgressMax = static_cast<std::int32_t>(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    visit(i, names[i]);
    if (engine.Terminated()) return false;
    engine.ShowProgress(engine.ProgressMax, static_cast<std::int32_t>(i));
  }
  return true;
}

// Each section that exists, in order, until a stop request.
void WalkSections(
    TRegistryCheckThread& engine, const Section (&sections)[2],
    const std::function<void(const Section&, std::size_t, const std::string&)>&
        visit) {
  for (const Section& section : sections) {
    engine.Registry.CloseKey();
    engine.Registry.SetRootKey(TRootKey::LocalMachine);
    if (!engine.Registry.KeyExists(section.key)) continue;
    const bool finished = WalkValues(
        engine, section.key,
        [&](std::size_t index, const std::string& name) {
          visit(section, index, name);
        });
    if (!finished) return;
  }
}

}  // namespace

std::string HelpFolder(const std::string& data) {
  std::string folder = data;
  if (!folder.empty() && folder.front() == '"') folder.erase(0, 1);
  if (!folder.empty() && folder.back() == '"') folder.pop_back();
  // Nothing but quotes names no folder; "\" would name the root of whatever
  // drive is current.
  if (folder.empty()) return folder;
  if (folder.back() != '\\') folder += '\\';
  return folder;
}

void CheckSharedDLLs(TRegistryCheckThread& engine, TFileReferences& refs) {
  const TFileReferences::TViewScope view(
      refs, refs.ViewOfKey(TRootKey::LocalMachine, kSharedDllsKey));
  try {
    WalkValues(engine, kSharedDllsKey,
               [&](std::size_t index, const std::string& name) {
                 ShowStatusEveryFifth(engine, index,
                                      "Examining SharedDLLs: " + name);
                 if (name.empty()) return;
                 TTestedList* tested = engine.StartTests();
                 if (!refs.FileRefExists(name, tested)) {
                   engine.AddRegistryError(TRootKey::LocalMachine,
                                           kSharedDllsKey, name, name,
                                           "SharedDLL file does not exist");
                   return;
                 }
                 const std::int32_t count = engine.Registry.ReadInteger(name);
                 if (count < 1) {
                   Note(tested, "counter " + std::to_string(count) +
                                    ": not used");
                   engine.AddRegistryError(
                       TRootKey::LocalMachine, kSharedDllsKey, name,
                       name + "(" + std::to_string(count) + ")",
                       "SharedDLL not used");
                 }
               });
  } catch (...) {
    // A counter that is not a number ends this category; the scan goes on.
  }
}

void CheckStartupRun(TRegistryCheckThread& engine, TFileReferences& refs) {
  const TFileReferences::TViewScope view(
      refs, refs.ViewOfKey(TRootKey::LocalMachine, kStartupRunKey));
  WalkValues(engine, kStartupRunKey,
             [&](std::size_t index, const std::string& name) {
               ShowStatusEveryFifth(
                   engine, index, "Examining startup run section: " + name);
               if (name.empty()) return;
               const std::string command = engine.Registry.ReadString(name);
               TTestedList* tested = engine.StartTests();
               if (command.empty()) Note(tested, "command: empty");
               if (command.empty() || !refs.CommandFileExists(command, tested)) {
                 engine.AddRegistryError(TRootKey::LocalMachine,
                                         kStartupRunKey, name, command,
                                         "Startup file does not exist");
               }
             });
}

void CheckHelpFiles(TRegistryCheckThread& engine, TFileReferences& refs) {
  WalkSections(
      engine, kHelpSections,
      [&](const Section& section, std::size_t index, const std::string& name) {
        // Read before anything else, the default value included: a value
        // that is not text ends the scan here.
        const std::string data = engine.Registry.ReadString(name);
        const std::string label = section.label;
        ShowStatusEveryFifth(engine, index,
                             "Examining " + label + ": " + name);
        if (name.empty()) return;
        const std::string file = HelpFolder(data) + name;
        const TFileReferences::TViewScope view(
            refs, refs.ViewOfKey(TRootKey::LocalMachine, section.key));
        if (!refs.FileRefExists(file, engine.StartTests())) {
          engine.AddRegistryError(TRootKey::LocalMachine, section.key, name,
                                  file, label + " file does not exists");
        }
      });
}

void CheckFonts(TRegistryCheckThread& engine, TFileReferences& refs) {
  WalkSections(
      engine, kFontSections,
      [&](const Section& section, std::size_t index, const std::string& name) {
        ShowStatusEveryFifth(engine, index,
                             "Examining " + std::string(section.label) + ": " +
                                 name);
        if (name.empty()) return;
        const std::string file = engine.Registry.ReadString(name);
        const TFileReferences::TViewScope view(
            refs, refs.ViewOfKey(TRootKey::LocalMachine, section.key));
        if (!refs.FontFileExists(file, engine.StartTests())) {
          engine.AddRegistryError(TRootKey::LocalMachine, section.key, name,
                                  name + " - " + file,
                                  "Font file does not exists");
        }
      });
}

}  // namespace tidewell
