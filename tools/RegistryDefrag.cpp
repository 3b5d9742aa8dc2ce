#include "tools/RegistryDefrag.h"

#include <cstdlib>
#include <exception>
#include <sstream>

#include "platform/TextEncoding.h"
#include "registry/Registry.h"

namespace tidewell {
namespace {

// Splits "C:\Dir\name" into "C:\Dir" and "name".
void SplitLast(const std::string& path, std::string& folder, std::string& name) {
  const std::size_t slash = path.rfind('\\');
  if (slash == std::string::npos) {
    folder.clear();
    name = path;
  } else {
    folder = path.substr(0, slash);
    name = path.substr(slash + 1);
  }
}

// Wildcards as FindFirstFile reads them; both texts already upper-cased.
bool Matches(const std::string& pattern, std::size_t p, const std::string& name,
             std::size_t n) {
  while (p < pattern.size()) {
    if (pattern[p] == '*') {
      for (std::size_t rest = n; rest <= name.size(); ++rest) {
        if (Matches(pattern, p + 1, name, rest)) return true;
      }
      return false;
    }
    if (n == name.size()) return false;
    if (pattern[p] != '?' && pattern[p] != name[n]) return false;
    ++p;
    ++n;
  }
  return n == name.size();
}

bool MaskMatches(std::string pattern, const std::string& name) {
  // "*.*" also takes names without a dot, as it does on Windows.
  if (pattern == "*.*") return true;
  return Matches(UpcaseUtf8(pattern), 0, UpcaseUtf8(name), 0);
}

bool IsUsableFolderName(const std::string& name) {
  // "Value Not Available" is what a program file without version
  // information reads as, not a name of its own.
  if (name.empty() || name == "Value Not Available" || name == "." || name == "..") {
    return false;
  }
  if (name.find_first_not_of(' ') == std::string::npos) return false;
  return name.find_first_of("\\/:*?\"<>|") == std::string::npos;
}

}  // namespace

// ---- Folder tidy-up -------------------------------------------------------

std::string PathRemoveSeparator(const std::string& path) {
  if (!path.empty() && path.back() == '\\') return path.substr(0, path.size() - 1);
  return path;
}

bool BuildFileList(TFileSystem& files, const std::string& mask, std::uint32_t attributes,
                   std::vector<std::string>& list) {
  std::string folder;
  std::string pattern;
  SplitLast(mask, folder, pattern);
  if (!files.DirectoryExists(folder)) return false;
  const std::uint32_t restricted =
      (fileattr::Hidden | fileattr::System | fileattr::Directory) & ~attributes;
  for (const TFileInfo& entry : files.ListFolder(folder)) {
    if (entry.Name == "." || entry.Name == "..") continue;
    std::uint32_t entryAttributes = entry.Attributes;
    if (entry.IsDirectory) entryAttributes |= fileattr::Directory;
    if ((entryAttributes & restricted) != 0) continue;
    if (MaskMatches(pattern, entry.Name)) list.push_back(entry.Name);
  }
  return true;
}

bool DelTreeEx(TFileTools& tools, const std::string& folder, bool stopOnError) {
  const std::string dir = PathRemoveSeparator(folder);
  if (dir.empty()) return false;
  std::vector<std::string> names;
  BuildFileList(tools.Files, dir + "\\*.*", kAnyFileAttributes, names);
  bool result = true;
  for (const std::string& name : names) {
    const std::string path = dir + "\\" + name;
    const std::optional<std::uint32_t> attributes = tools.Maintenance.Attributes(path);
    bool gone;
    if (attributes && (*attributes & fileattr::Directory) != 0) {
      gone = DelTreeEx(tools, path, stopOnError);
    } else {
      tools.Maintenance.SetAttributes(path, fileattr::Normal);
      gone = tools.Files.RemoveFile(path);
    }
    if (!gone) {
      result = false;
      if (stopOnError) break;
    }
  }
  if (!result) return false;
  tools.Maintenance.SetAttributes(dir, fileattr::Normal);
  return tools.Maintenance.RemoveEmptyFolder(dir);
}

void ClearFileAttr(TFileTools& tools, const std::string& file) {
  const std::optional<std::uint32_t> attributes = tools.Maintenance.Attributes(file);
  if (!attributes || *attributes == fileattr::Directory) return;
  std::uint32_t cleared =
      *attributes & ~(fileattr::ReadOnly | fileattr::Hidden | fileattr::System);
  // FILE_ATTRIBUTE_NORMAL is valid only alone.
  if (cleared != fileattr::Normal) cleared &= ~fileattr::Normal;
  if (cleared == 0) cleared = fileattr::Normal;
  tools.Maintenance.SetAttributes(file, cleared);
}

// ---- The system family and the hives ---------------------------------------

TSystemFamily SystemFamilyOf(const TSystemVersion& version) {
  TSystemFamily family;
  // Windows 8.1 and later report 6.2 to a program that does not declare them
  // in its manifest, so the minor numbers below cover every NT release.
  family.NtFamily = version.Platform == TPlatformId::WindowsNt && version.Major >= 3 &&
                    (version.Minor <= 2 || version.Minor == 51);
  const bool nine = version.Platform == TPlatformId::Windows9x && version.Major == 4;
  family.Windows95 = nine && version.Minor == 0;
  family.Windows98 = nine && version.Minor == 10;
  family.Windows98SE =
      family.Windows98 && (version.ServicePack == " A" || version.Build > 2000);
  family.WindowsMe = nine && version.Minor == 90;
  return family;
}

std::vector<std::string> HiveFiles(const TSystemFamily& family,
                                   const std::string& windowsFolder) {
  const std::string base = PathRemoveSeparator(windowsFolder) + "\\";
  std::vector<std::string> files;
  if (family.NtFamily) {
    for (const char* name : {"default", "SAM", "SECURITY", "software", "system", "userdiff"}) {
      files.push_back(base + "System32\\Config\\" + name);
    }
  } else if (family.Windows95 || family.Windows98) {
    files = {base + "User.dat", base + "System.dat"};
  } else if (family.WindowsMe) {
    files = {base + "User.dat", base + "System.dat", base + "Classes.dat"};
  }
  return files;
}

const std::array<THive, 4> kHives = {{
    {TRootKey::LocalMachine, "SOFTWARE", "SOFTWARE", "SOFTWARE2", 1, 6, "software"},
    {TRootKey::LocalMachine, "SYSTEM", "SYSTEM", "SYSTEM2", 2, 7, "system"},
    {TRootKey::LocalMachine, "SAM", "SAM", "SAM2", 3, 8, "SAM"},
    {TRootKey::Users, ".DEFAULT", "USERS", "USERS2", 4, 9, "default"},
}};

std::string DefragWorkFolder(const std::string& tempFolder, const std::string& internalName) {
  const std::string name = IsUsableFolderName(internalName) ? internalName : "Tidewell";
  return PathRemoveSeparator(tempFolder) + "\\" + name + "\\";
}

std::uint64_t FileSizeOf(TFileSystem& files, const std::string& path) {
  std::string folder;
  std::string name;
  SplitLast(path, folder, name);
  for (const TFileInfo& entry : files.ListFolder(folder)) {
    if (!entry.IsDirectory && NamesEqual(entry.Name, name)) return entry.Size;
  }
  return 0;
}

// ---- The compaction ---------------------------------------------------------

TRegistryDefrag::TRegistryDefrag(TDefragSystem system, const std::string& internalName)
    : system_(system) {
  family_ = SystemFamilyOf(system_.Info.Version());
  hiveFiles_ = HiveFiles(family_, system_.Environment.WindowsFolder());
  for (const std::string& file : hiveFiles_) oldSize_ += FileSizeOf(system_.Files, file);
  workFolder_ = DefragWorkFolder(system_.Environment.TempFolder(), internalName);
}

void TRegistryDefrag::ClearSavedFlags() { saved_.fill(false); }

bool TRegistryDefrag::ReplacementPending() {
  std::string record;
  if (!system_.Files.ReadWholeFile(workFolder_ + kPendingRecordName, record)) return false;
  std::istringstream lines(record);
  std::string line;
  if (!std::getline(lines, line)) return false;
  char* end = nullptr;
  const long long bootTime = std::strtoll(line.c_str(), &end, 10);
  if (end == line.c_str()) return false;
  if (std::llabs(bootTime - system_.Info.BootTime()) > kSameBootSeconds) return false;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && system_.Files.FileExists(workFolder_ + line)) return true;
  }
  return false;
}

TDefragOutcome TRegistryDefrag::Defrag(const TProgress& progress) {
  refused_.clear();
  if (ReplacementPending()) return TDefragOutcome::ReplacementPending;
  TFileTools tools{system_.Files, system_.Maintenance};
  const std::string folder = PathRemoveSeparator(workFolder_);
  if (system_.Files.DirectoryExists(folder)) DelTreeEx(tools, folder, false);
  if (!system_.Files.ForceDirectories(folder)) return TDefragOutcome::NoAccess;

  try {
    if (family_.Windows9x()) {
      // Left over from the system's own registry copies on the 9x family.
      const std::string windows = PathRemoveSeparator(system_.Environment.WindowsFolder());
      for (const char* name : {"system.~~r", "user.~~r", "classes.~~r"}) {
        const std::string file = windows + "\\" + name;
        if (system_.Files.FileExists(file)) {
          ClearFileAttr(tools, file);
          system_.Files.RemoveFile(file);
        }
      }
    }
    newSize_ = 0;
    TRegistry registry(system_.Registry);
    registry.SetRootKey(TRootKey::LocalMachine);
    if (family_.Windows98) {
      if (registry.OpenKey("System\\CurrentControlSet\\Control\\Shutdown", false)) {
        registry.WriteString("FastReboot", "0");
      }
      registry.CloseKey();
    }
    RegFlushKey(system_.Registry, TRootKey::LocalMachine);
    RegFlushKey(system_.Registry, TRootKey::Users);
    for (std::size_t i = 0; i < kHives.size(); ++i) {
      const THive& hive = kHives[i];
      progress(hive.SaveProgress);
      registry.SetRootKey(hive.Root);
      const std::string file = workFolder_ + hive.SavedFile;
      saved_[i] = registry.SaveKey(hive.SubKey, file);
      newSize_ += FileSizeOf(system_.Files, file);
    }
    progress(5);
  } catch (const std::exception&) {
    // The hives saved so far keep their flags.
  }
  return TDefragOutcome::Saved;
}

bool TRegistryDefrag::ReplaceRegistry(const TProgress& progress) {
  bool result = false;
  std::vector<std::string> scheduled;
  try {
    TFileTools tools{system_.Files, system_.Maintenance};
    const std::string config =
        PathRemoveSeparator(system_.Environment.WindowsFolder()) + "\\System32\\Config\\";
    for (std::size_t i = 0; i < kHives.size(); ++i) {
      const THive& hive = kHives[i];
      progress(hive.ReplaceProgress);
      const std::string file = workFolder_ + hive.SavedFile;
      if (!saved_[i] || !system_.Files.FileExists(file)) continue;
      ClearFileAttr(tools, file);
      if (i != 0 && !result) continue;
      // A saved hive far smaller than the one it replaces is a broken save,
      // not a compaction: installing it would lose most of the hive. Only
      // the NT family keeps each hive in a file of its own to compare with.
      const std::uint64_t live =
          family_.NtFamily ? FileSizeOf(system_.Files, config + hive.LiveFile) : 0;
      if (live > 0 && FileSizeOf(system_.Files, file) * 10 < live) {
        refused_.push_back(hive.SubKey);
        result = false;
        continue;
      }
      result = RegReplaceKey(system_.Registry, hive.Root, hive.SubKey, file,
                             workFolder_ + hive.OldFile) == regerr::Success;
      if (result) scheduled.push_back(hive.SavedFile);
    }
    progress(10);
    progress(0);
    if (!scheduled.empty()) WritePendingRecord(scheduled);
  } catch (const std::exception&) {
    result = false;
  }
  return result;
}

void TRegistryDefrag::WritePendingRecord(const std::vector<std::string>& files) {
  std::string record = std::to_string(system_.Info.BootTime()) + "\r\n";
  for (const std::string& file : files) record += file + "\r\n";
  const std::string path = workFolder_ + kPendingRecordName;
  system_.Files.RemoveFile(path);
  if (auto out = system_.Files.CreateNewFile(path, false)) {
    out->Write(record);
    out->Flush();
  }
}

}  // namespace tidewell
