#include "scan/FolderSet.h"

#include "registry/Registry.h"

namespace tidewell {
namespace {

std::string WithoutTrailingBackslash(std::string folder) {
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

std::string ReadMediaPath(TSystemEnvironment& environment,
                          RegistryStore& store) {
  TRegistry registry(store);
  registry.SetRootKey(TRootKey::LocalMachine);
  std::string mediaPath;
  try {
    if (registry.OpenKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                         false)) {
      const TRegDataType type = registry.GetDataType("MediaPath");
      if (type == TRegDataType::rdString) {
        mediaPath = registry.ReadString("MediaPath");
      } else if (type == TRegDataType::rdExpandString) {
        // Stored unexpanded ("%SystemRoot%\Media"); a path is what is needed.
        mediaPath = environment.ExpandEnvironmentText(
            registry.ReadString("MediaPath"));
      }
      registry.CloseKey();
    }
  } catch (const ERegistryException&) {
    mediaPath.clear();
  }
  return WithoutTrailingBackslash(mediaPath);
}

}  // namespace

std::vector<std::string> SplitFolderList(const std::string& list) {
  std::vector<std::string> entries;
  std::size_t start = 0;
  while (start < list.size()) {
    const std::size_t end = list.find(';', start);
    if (end == std::string::npos) {
      entries.push_back(list.substr(start));
      break;
    }
    entries.push_back(list.substr(start, end - start));
    start = end + 1;
  }
  return entries;
}

TFolderSet BuildFolderSet(TSystemEnvironment& environment,
                          RegistryStore& store) {
  TFolderSet folders;
  folders.PathFolders = SplitFolderList(environment.EnvironmentVariable("PATH"));
  folders.SystemFolder = WithoutTrailingBackslash(environment.SystemFolder());
  folders.WindowsFolder = WithoutTrailingBackslash(environment.WindowsFolder());
  folders.FontsFolder = WithoutTrailingBackslash(environment.FontsFolder());
  folders.ProgramFilesFolder =
      WithoutTrailingBackslash(environment.ProgramFilesFolder());
  folders.CommonFilesFolder =
      WithoutTrailingBackslash(environment.CommonFilesFolder());
  folders.MediaPath = ReadMediaPath(environment, store);
  folders.Wow = environment.WowLayout();
  return folders;
}

}  // namespace tidewell
