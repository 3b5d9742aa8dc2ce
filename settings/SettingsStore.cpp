#include "settings/SettingsStore.h"

#include <utility>

#include "platform/TextEncoding.h"

namespace tidewell {

TSettingsStore::TSettingsStore(TFileSystem& fileSystem, TAnsiCodePage& codePage,
                               std::string applicationFolder)
    : fileSystem_(fileSystem),
      codePage_(codePage),
      applicationFolder_(std::move(applicationFolder)) {}

TSettingsFile& TSettingsStore::Open(const std::string& storeName,
                                    const std::string& section) {
  for (const auto& file : files_) {
    if (NamesEqual(file->StoreName(), storeName)) return *file;
  }
  auto file = std::make_unique<TSettingsFile>(storeName, section);
  std::string error;
  if (!file->LoadFromFile(fileSystem_, codePage_,
                          file->FileName(applicationFolder_), error)) {
    readProblems_.push_back(error);
  }
  files_.push_back(std::move(file));
  return *files_.back();
}

bool TSettingsStore::SaveAll(std::vector<std::string>& errors) {
  bool all = true;
  for (const auto& file : files_) {
    std::string error;
    if (!file->SaveToFile(fileSystem_, codePage_,
                          file->FileName(applicationFolder_), error)) {
      errors.push_back(error);
      all = false;
    }
  }
  return all;
}

}  // namespace tidewell
