#include "scan/ClassKeyWalk.h"

#include <cstdint>

#include "scan/FileRefText.h"
#include "scan/RegistryWork.h"

namespace tidewell {

void WalkClassKey(TRegistryCheckThread& engine, TRootKey root,
                  const std::string& basePath, const std::string& statusPrefix,
                  TStatusName statusName,
                  const std::function<void(const std::string& name)>& examine) {
  TRegistry& registry = engine.Registry;
  // A key left open by whatever ran before would turn the base path into one
  // relative to it.
  registry.CloseKey();
  registry.SetRootKey(root);
  // The root of the classes is walked twice, and the registry is taken to
  // hold in a scan what it held when first asked.
  const std::vector<std::string>* listed =
      engine.KeyTests.ListingOf(registry, basePath);
  std::vector<std::string> cutShort;
  if (listed == nullptr) {
    std::vector<std::string> read;
    bool listedWhole = false;
    {
      TReadOnlyKey base(registry, basePath);
      if (!base.IsOpen()) return;
      listedWhole = registry.GetKeyNames(read);
    }
    // The checks that follow test again and again whether entries of this
    // folder exist; a list cut short by a refusal could not say which do
    // not.
    if (listedWhole) {
      listed = &engine.KeyTests.NoteListing(registry, basePath, std::move(read));
    } else {
      cutShort = std::move(read);
      listed = &cutShort;
    }
  }
  const std::vector<std::string>& names = *listed;
  const auto count = static_cast<std::int32_t>(names.size());
  engine.ProgressMax = count;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    // A status line per entry would cost more than the entry itself.
    if (i % 5 == 0) {
      engine.ShowStatus(statusPrefix + (statusName == TStatusName::Trimmed
                                            ? TrimText(name)
                                            : name));
    }
    examine(name);
    if (engine.Terminated()) return;
    engine.ShowProgress(count, static_cast<std::int32_t>(i));
  }
}

TReadOnlyKey::TReadOnlyKey(TRegistry& registry, const std::string& path)
    : registry_(registry), open_(registry.OpenKeyReadOnly(path)) {}

TReadOnlyKey::~TReadOnlyKey() { Close(); }

std::string TReadOnlyKey::ReadDefault() { return registry_.ReadString(""); }

std::string TReadOnlyKey::ReadString(const std::string& name) {
  return registry_.ReadString(name);
}

std::optional<std::string> TReadOnlyKey::ReadStringIfPresent(
    const std::string& name) {
  return registry_.ReadStringIfPresent(name);
}

std::vector<std::string> TReadOnlyKey::KeyNames() {
  std::vector<std::string> names;
  registry_.GetKeyNames(names);
  return names;
}

void TReadOnlyKey::Close() {
  if (!open_) return;
  registry_.CloseKey();
  open_ = false;
}

}  // namespace tidewell
