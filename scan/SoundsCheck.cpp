#include "scan/SoundsCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "scan/CloseKeyOnExit.h"

namespace tidewell {
namespace {

struct Section {
  TRootKey root;
  const char* key;  // with its trailing backslash
  const char* label;
};
constexpr Section kSections[] = {
    {TRootKey::CurrentUser, "AppEvents\\Schemes\\Apps\\", "current user"},
    {TRootKey::Users, ".DEFAULT\\AppEvents\\Schemes\\Apps\\", "users"},
};

// The sound of one scheme (".Current" or ".Default") of one event.
void CheckEventSound(TRegistryCheckThread& engine, TFileReferences& refs,
                     const Section& section, const std::string& eventKey,
                     const std::string& scheme, const std::string& kind) {
  TRegistry& registry = engine.Registry;
  if (!registry.OpenKeyReadOnly(eventKey + "\\" + scheme + "\\")) return;
  const std::string sound = registry.ReadString("");
  registry.CloseKey();
  const TFileReferences::TViewScope view(
      refs, refs.ViewOfKey(section.root, eventKey));
  if (!sound.empty() && !refs.SoundFileExists(sound, engine.StartTests())) {
    engine.AddRegistryErrorEx(section.root, eventKey + "\\" + scheme, "", sound,
                              "", kind + " sound file in " + section.label +
                                      " settings does not exists");
  }
}

// False when a stop request ended the walk.
bool CheckSection(TRegistryCheckThread& engine, TFileReferences& refs,
                  const Section& section) {
  TRegistry& registry = engine.Registry;
  registry.CloseKey();
  registry.SetRootKey(section.root);
  const std::string schemes = section.key;
  if (!registry.KeyExists(schemes) || !registry.OpenKeyReadOnly(schemes)) {
    return true;
  }
  std::vector<std::string> applications;
  registry.GetKeyNames(applications);
  registry.CloseKey();

  for (const std::string& application : applications) {
    if (!registry.OpenKeyReadOnly(schemes + application + "\\")) continue;
    std::vector<std::string> events;
    registry.GetKeyNames(events);
    registry.CloseKey();
    engine.ProgressMax = static_cast<std::int32_t>(events.size());
    for (std::size_t j = 0; j < events.size(); ++j) {
      const std::string& event = events[j];
      engine.ShowStatus("Examining " + std::string(section.label) +
                        " sounds: " + event);
      const std::string eventKey = schemes + application + "\\" + event;
      CheckEventSound(engine, refs, section, eventKey, ".Current", "Current");
      CheckEventSound(engine, refs, section, eventKey, ".Default", "Default");
      if (engine.Terminated()) return false;
      engine.ShowProgress(engine.ProgressMax, static_cast<std::int32_t>(j));
    }
  }
  return true;
}

}  // namespace

void CheckSounds(TRegistryCheckThread& engine, TFileReferences& refs) {
  CloseKeyOnExit closeAtEnd(engine.Registry);
  try {
    for (const Section& section : kSections) {
      if (!CheckSection(engine, refs, section)) return;
    }
  } catch (...) {
    // A sound that cannot be read ends this category; the scan goes on.
  }
}

}  // namespace tidewell
