// A full scan at registry scale: a synthetic registry of some 200,000 keys and
// a million values in the in-memory store, with a few thousand real files in a
// host folder standing in for drive C:. Measures, with plain wall-clock time:
//   - a bare walk of the same registry (every key opened, listed, every string
//     value read): the least any scan must cost;
//   - the full scan with every category, through the real engine thread;
//   - each category alone.
// For every run it prints the file-system and registry-store calls the run
// made (counted by decorators around the real objects) and the process's
// resident memory, then a summary table.
//
// Options: --runs=N (full scans, default 2), --walk-runs=N (default 3),
// --skip-categories, --only-full (one full scan and nothing else, for a
// profiler), --mixed-case-files (host files spelt as the registry spells
// them; the native file system then folds letter case by listing folders,
// which Windows never has to do), --stat-fs (lookups answered with one stat()
// each instead of through NativeFileSystem, to tell the scan's own file-system
// cost from the native seam's).
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/CountingFileSystem.h"
#include "platform/FileSystem.h"
#include "platform/NativeFileSystem.h"
#include "platform/NativeSystemEnvironment.h"
#include "platform/TextEncoding.h"
#include "platform/WindowsPath.h"
#include "registry/MemoryRegistryStore.h"
#include "registry/Registry.h"
#include "scan/AllChecks.h"
#include "scan/FileReferences.h"
#include "scan/FolderSet.h"
#include "scan/QueueDispatcher.h"
#include "scan/RegistryWork.h"

namespace tidewell {
namespace {

using Clock = BenchClock;

// ---------------------------------------------------------------------------
// Counting decorators


// Counted only: a store call costs too little to time each one honestly.
// Only one thread uses the store at a time (the walk, or the scan thread
// while the main thread waits), and the main thread reads the counts after
// the scan thread has been joined.
class CountingRegistryStore final : public RegistryStore {
 public:
  struct Counts {
    std::uint64_t open = 0;
    std::uint64_t openFailed = 0;  // of `open`: keys that were not there
    std::uint64_t close = 0;
    std::uint64_t queryInfo = 0;
    std::uint64_t enumKey = 0;
    std::uint64_t enumValue = 0;
    std::uint64_t queryValue = 0;
    std::uint64_t other = 0;
    std::uint64_t Total() const {
      return open + close + queryInfo + enumKey + enumValue + queryValue +
             other;
    }
  };

  explicit CountingRegistryStore(RegistryStore& inner) : inner_(inner) {}

  const Counts& Snapshot() const { return counts_; }
  void Reset() { counts_ = Counts(); }

  long OpenKey(KeyHandle base, const std::string& subKey, std::uint32_t access,
               KeyHandle* result) override {
    ++counts_.open;
    const long rc = inner_.OpenKey(base, subKey, access, result);
    if (rc != regerr::Success) ++counts_.openFailed;
    return rc;
  }
  long CreateKey(KeyHandle base, const std::string& subKey,
                 std::uint32_t access, KeyHandle* result) override {
    ++counts_.other;
    return inner_.CreateKey(base, subKey, access, result);
  }
  long CloseKey(KeyHandle key) override {
    ++counts_.close;
    return inner_.CloseKey(key);
  }
  long QueryInfoKey(KeyHandle key, KeyInfo* info) override {
    ++counts_.queryInfo;
    return inner_.QueryInfoKey(key, info);
  }
  long EnumKey(KeyHandle key, std::uint32_t index, std::string* name) override {
    ++counts_.enumKey;
    return inner_.EnumKey(key, index, name);
  }
  long EnumValue(KeyHandle key, std::uint32_t index,
                 std::string* name) override {
    ++counts_.enumValue;
    return inner_.EnumValue(key, index, name);
  }
  long QueryValue(KeyHandle key, const std::string& name, std::uint32_t* type,
                  std::vector<std::uint8_t>* data) override {
    ++counts_.queryValue;
    return inner_.QueryValue(key, name, type, data);
  }
  long SetValue(KeyHandle key, const std::string& name, std::uint32_t type,
                const std::uint8_t* data, std::size_t size) override {
    ++counts_.other;
    return inner_.SetValue(key, name, type, data, size);
  }
  long DeleteValue(KeyHandle key, const std::string& name) override {
    ++counts_.other;
    return inner_.DeleteValue(key, name);
  }
  long DeleteKey(KeyHandle base, const std::string& subKey) override {
    ++counts_.other;
    return inner_.DeleteKey(base, subKey);
  }
  long FlushKey(KeyHandle key) override {
    ++counts_.other;
    return inner_.FlushKey(key);
  }
  long SaveKey(KeyHandle key, const std::string& fileName) override {
    ++counts_.other;
    return inner_.SaveKey(key, fileName);
  }
  long ReplaceKey(KeyHandle key, const std::string& subKey,
                  const std::string& newFile,
                  const std::string& oldFile) override {
    ++counts_.other;
    return inner_.ReplaceKey(key, subKey, newFile, oldFile);
  }

 private:
  RegistryStore& inner_;
  Counts counts_;
};

// The lookups the scan makes, answered with one stat() each over the
// lower-case host tree: what a lookup costs on Windows (one
// GetFileAttributesW), without the folder listing the native file system
// needs to fold letter case when a name is not found at once. Only the calls
// a scan makes are served.
class StatFileSystem final : public TFileSystem {
 public:
  explicit StatFileSystem(std::filesystem::path root) : root_(std::move(root)) {}

  bool FileExists(const std::string& path) override {
    if (!path.empty() && (path.back() == '\\' || path.back() == '/')) return false;
    struct stat info{};
    return Stat(path, info) && !S_ISDIR(info.st_mode);
  }
  bool DirectoryExists(const std::string& path) override {
    struct stat info{};
    return Stat(path, info) && S_ISDIR(info.st_mode);
  }
  bool ForceDirectories(const std::string&) override { return false; }
  std::vector<TFileInfo> ListFolder(const std::string&) override { return {}; }
  bool RemoveFile(const std::string&) override { return false; }
  bool MoveFileOver(const std::string&, const std::string&) override { return false; }
  bool ReadWholeFile(const std::string&, std::string&) override { return false; }
  std::unique_ptr<TWritableFile> CreateNewFile(const std::string&, bool) override {
    return nullptr;
  }
  std::unique_ptr<TWritableFile> OpenForAppend(const std::string&) override {
    return nullptr;
  }
  std::string ShortPathName(const std::string& path) override { return path; }

 private:
  bool Stat(const std::string& path, struct stat& info) const {
    TWindowsPath parsed;
    if (!ParseWindowsPath(path, parsed)) return false;
    std::string host = root_.string() + "/" + parsed.Drive;
    for (const std::string& name : parsed.Components) {
      host += '/';
      host += DowncaseUtf8(name);
    }
    return ::stat(host.c_str(), &info) == 0;
  }

  std::filesystem::path root_;
};

// ---------------------------------------------------------------------------
// Memory

double CurrentResidentMiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) /
         (1024.0 * 1024.0);
}

double PeakResidentMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// ---------------------------------------------------------------------------
// The host folder and its files

// A fresh folder standing in for the drives; drive C: is its "c" folder.
class HostDrive {
 public:
  explicit HostDrive(bool mixedCase) : mixedCase_(mixedCase) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tidewell-scan-bench-XXXXXX")
            .string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror("mkdtemp");
      std::exit(1);
    }
    root_ = pattern;
    std::filesystem::create_directories(root_ / "c");
  }
  ~HostDrive() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  HostDrive(const HostDrive&) = delete;
  HostDrive& operator=(const HostDrive&) = delete;

  const std::filesystem::path& Root() const { return root_; }

  // "C:\Dir\file.ext" as a host file. The scan lower-cases most texts before
  // it asks the file system, so a lower-case tree lets the native file system
  // find names at once, as Windows does; a tree spelt like the registry makes
  // it list folders to fold letter case.
  void MakeFile(const std::string& windowsPath) {
    const std::filesystem::path host = HostOf(windowsPath);
    std::filesystem::create_directories(host.parent_path());
    std::ofstream(host) << "x";
    ++files_;
  }
  void MakeFolder(const std::string& windowsPath) {
    std::filesystem::create_directories(HostOf(windowsPath));
  }
  int Files() const { return files_; }

 private:
  std::filesystem::path HostOf(const std::string& windowsPath) const {
    std::string relative = windowsPath.substr(3);  // past "C:\"
    std::replace(relative.begin(), relative.end(), '\\', '/');
    if (!mixedCase_) {
      for (char& c : relative) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      }
    }
    return root_ / "c" / relative;
  }

  bool mixedCase_;
  std::filesystem::path root_;
  int files_ = 0;
};

// ---------------------------------------------------------------------------
// The synthetic registry

constexpr const char* kWindows = "C:\\Windows";
constexpr const char* kSystem32 = "C:\\Windows\\System32";
constexpr const char* kFonts = "C:\\Windows\\Fonts";
constexpr const char* kMedia = "C:\\Windows\\Media";
constexpr const char* kHelp = "C:\\Windows\\Help";
constexpr const char* kProgramFiles = "C:\\Program Files";
constexpr const char* kCommonFiles = "C:\\Program Files\\Common Files";

// Sizes. Chosen so the registry holds over 200,000 keys and 1,000,000 values
// while the host folder holds a few thousand files.
constexpr int kVendors = 200;           // folders under Program Files
constexpr int kFilesPerVendor = 15;     // 10 libraries, 4 programs, 1 control
constexpr int kSystemFiles = 300;
constexpr int kFontFiles = 800;
constexpr int kSoundFiles = 100;
constexpr int kHelpFiles = 200;

constexpr int kClsids = 17000;
constexpr int kProgIds = 8000;
constexpr int kTypeLibs = 3000;
constexpr int kInterfaces = 8000;
constexpr int kExtensions = 1500;
constexpr int kContentTypes = 300;
constexpr int kSharedDlls = 4000;
constexpr int kRunEntries = 40;
constexpr int kAppPaths = 400;
constexpr int kUninstallEntries = 1200;
constexpr int kHelpEntries = 300;
constexpr int kFontEntries = 800;
constexpr int kSoundApps = 40;
constexpr int kSoundEvents = 25;
// Ordinary software: vendors, products, sections (the leaf keys).
constexpr int kMachineVendors = 320;
constexpr int kMachineProducts = 8;
constexpr int kMachineSections = 8;
constexpr int kMachineValuesPerSection = 30;
constexpr int kUserVendors = 200;
constexpr int kUserProducts = 5;
constexpr int kUserSections = 6;
constexpr int kUserValuesPerSection = 40;

std::string Guid(std::uint32_t kind, std::uint32_t n) {
  char text[64];
  std::snprintf(text, sizeof text, "{%08X-%04X-11D0-8C3E-%012X}",
                0x5EED0000u + n, kind, n * 2654435761u);
  return text;
}

// Texts that name files: an existing one nine times in ten, else one that is
// gone (half of them in a folder that is still there).
class FileRefs {
 public:
  explicit FileRefs(std::mt19937& random) : random_(random) {}

  std::string VendorFolder(int vendor) const {
    return std::string(kProgramFiles) + "\\Vendor" + std::to_string(vendor);
  }
  std::string VendorFile(int vendor, int file) const {
    const int kind = file % kFilesPerVendor;
    const std::string bin = VendorFolder(vendor) + "\\Bin\\";
    if (kind < 10) return bin + "Comp" + std::to_string(kind) + ".dll";
    if (kind < 14) return bin + "App" + std::to_string(kind - 10) + ".exe";
    return bin + "Control.ocx";
  }
  std::string SystemFile(int n) const {
    return "Sys" + std::to_string(n) + ".dll";
  }
  std::string FontFile(int n) const { return "Font" + std::to_string(n) + ".ttf"; }
  std::string SoundFile(int n) const { return "Sound" + std::to_string(n) + ".wav"; }
  std::string HelpFile(int n) const { return "Help" + std::to_string(n) + ".hlp"; }

  bool Missing() { return Pick(100) < 10; }
  int Pick(int below) {
    return static_cast<int>(random_() % static_cast<std::uint32_t>(below));
  }

  // A full path to a library or program.
  std::string AnyFile(const char* missingExtension = ".dll") {
    const int vendor = Pick(kVendors);
    if (!Missing()) return VendorFile(vendor, Pick(kFilesPerVendor));
    if (Pick(2) == 0) {
      return VendorFolder(vendor) + "\\Bin\\Gone" + std::to_string(Pick(50)) +
             missingExtension;
    }
    return std::string(kProgramFiles) + "\\Removed" + std::to_string(Pick(500)) +
           "\\Bin\\Old" + std::to_string(Pick(20)) + missingExtension;
  }
  std::string AnyProgram() {
    const int vendor = Pick(kVendors);
    if (!Missing()) return VendorFile(vendor, 10 + Pick(4));
    return std::string(kProgramFiles) + "\\Removed" + std::to_string(Pick(500)) +
           "\\Setup" + std::to_string(Pick(20)) + ".exe";
  }
  // What a settings value that names a file looks like.
  std::string SettingsText() {
    switch (Pick(6)) {
      case 0:
        return "\"" + AnyProgram() + "\" /min";
      case 1:
        return AnyFile(".log");
      case 2: {
        const int vendor = Pick(kVendors);
        return Missing() ? VendorFolder(vendor) + "\\Data" + std::to_string(Pick(9))
                         : VendorFolder(vendor) + "\\Bin";
      }
      default:
        return AnyFile();
    }
  }

 private:
  std::mt19937& random_;
};

struct RegistryCounts {
  long keys = 0;
  long values = 0;
};

class RegistryBuilder {
 public:
  RegistryBuilder(RegistryStore& store, FileRefs& refs)
      : registry_(store), refs_(refs) {
    registry_.SetRootKey(TRootKey::LocalMachine);
  }

  void Root(TRootKey root) { registry_.SetRootKey(root); }
  void Key(const std::string& path) {
    registry_.OpenKey("\\" + path, true);
  }
  void Text(const std::string& name, const std::string& text) {
    registry_.WriteString(name, text);
  }
  void Expand(const std::string& name, const std::string& text) {
    registry_.WriteExpandString(name, text);
  }
  void Number(const std::string& name, std::int32_t number) {
    registry_.WriteInteger(name, number);
  }
  void Bytes(const std::string& name, int size) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      bytes[i] = static_cast<std::uint8_t>(i * 37 + static_cast<std::size_t>(size));
    }
    registry_.WriteBinaryData(name, bytes.data(), size);
  }

  void Classes() {
    const std::string classes = "SOFTWARE\\Classes\\";
    Root(TRootKey::LocalMachine);
    for (int c = 0; c < kClsids; ++c) {
      const std::string entry = classes + "CLSID\\" + Guid(1, static_cast<std::uint32_t>(c));
      Key(entry);
      Text("", "Component Class " + std::to_string(c));
      Key(entry + "\\InprocServer32");
      const int kind = refs_.Pick(10);
      Text("", kind == 0 ? refs_.SystemFile(refs_.Pick(kSystemFiles + 30))
                         : refs_.AnyFile());
      Text("ThreadingModel", "Apartment");
      if (c < kProgIds) {
        Key(entry + "\\ProgID");
        Text("", ProgId(c) + ".1");
        Key(entry + "\\VersionIndependentProgID");
        Text("", ProgId(c));
      }
      if (c % 5 == 0) {
        Key(entry + "\\TypeLib");
        Text("", Guid(3, static_cast<std::uint32_t>(refs_.Pick(kTypeLibs + 100))));
      }
      if (c % 3 == 0) {
        Key(entry + "\\Implemented Categories\\" + Guid(9, static_cast<std::uint32_t>(c % 7)));
      }
    }
    for (int p = 0; p < kProgIds; ++p) {
      const std::string versioned = classes + ProgId(p) + ".1";
      Key(versioned);
      Text("", "Document " + std::to_string(p));
      Key(versioned + "\\CLSID");
      Text("", Guid(1, static_cast<std::uint32_t>(p)));
      const std::string independent = classes + ProgId(p);
      Key(independent);
      Text("", "Document " + std::to_string(p));
      Key(independent + "\\CLSID");
      Text("", Guid(1, static_cast<std::uint32_t>(p)));
      Key(independent + "\\CurVer");
      Text("", ProgId(p) + (refs_.Pick(100) < 3 ? ".7" : ".1"));
      if (p % 2 == 0) {
        Key(independent + "\\DefaultIcon");
        Text("", refs_.AnyFile() + "," + std::to_string(refs_.Pick(5)));
      }
      if (p % 4 == 0) {
        Key(independent + "\\shell\\open\\command");
        Text("", "\"" + refs_.AnyProgram() + "\" \"%1\"");
      }
    }
    for (int t = 0; t < kTypeLibs; ++t) {
      const std::string library = classes + "TypeLib\\" + Guid(3, static_cast<std::uint32_t>(t));
      Key(library + "\\1.0");
      Text("", "Type Library " + std::to_string(t));
      Key(library + "\\1.0\\0\\win32");
      Text("", t % 2 == 0 ? refs_.AnyFile(".tlb") : refs_.AnyFile() + "\\2");
      Key(library + "\\1.0\\FLAGS");
      Text("", "0");
      Key(library + "\\1.0\\HELPDIR");
      Text("", refs_.VendorFolder(refs_.Pick(kVendors)) + "\\Bin");
    }
    for (int i = 0; i < kInterfaces; ++i) {
      const std::string entry = classes + "Interface\\" + Guid(4, static_cast<std::uint32_t>(i));
      Key(entry);
      Text("", "IComponent" + std::to_string(i));
      Key(entry + "\\ProxyStubClsid32");
      Text("", Guid(1, static_cast<std::uint32_t>(refs_.Pick(kClsids + 200))));
      Key(entry + "\\NumMethods");
      Text("", std::to_string(3 + i % 20));
      if (i % 2 == 0) {
        Key(entry + "\\TypeLib");
        Text("", Guid(3, static_cast<std::uint32_t>(refs_.Pick(kTypeLibs))));
        Text("Version", "1.0");
      }
    }
    for (int e = 0; e < kExtensions; ++e) {
      const std::string entry = classes + ".e" + std::to_string(e);
      Key(entry);
      Text("", ProgId(refs_.Pick(kProgIds + 300)));
      if (e % 3 == 0) {
        Text("Content Type", "application/x-e" + std::to_string(refs_.Pick(kContentTypes + 20)));
      }
      Key(entry + "\\OpenWithProgids");
      Text(ProgId(refs_.Pick(kProgIds)), "");
      if (e % 10 == 0) {
        Key(entry + "\\PersistentHandler");
        Text("", Guid(1, static_cast<std::uint32_t>(refs_.Pick(kClsids))));
      }
    }
    for (int m = 0; m < kContentTypes; ++m) {
      Key(classes + "MIME\\Database\\Content Type\\application/x-e" + std::to_string(m));
      Text("Extension", ".e" + std::to_string(m));
    }
  }

  void SoftwareSections() {
    Root(TRootKey::LocalMachine);
    const std::string cv = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    Key(cv);
    Text("MediaPath", kMedia);
    Text("ProgramFilesDir", kProgramFiles);

    Key(cv + "\\SharedDLLs");
    for (int s = 0; s < kSharedDlls; ++s) {
      Number(refs_.AnyFile(), refs_.Pick(100) < 2 ? 0 : 1 + refs_.Pick(5));
    }

    Key(cv + "\\Run");
    for (int r = 0; r < kRunEntries; ++r) {
      const std::string name = "Startup " + std::to_string(r);
      if (r % 8 == 0) {
        Text(name, "rundll32.exe \"" + refs_.AnyFile() + "\",Start");
      } else {
        Text(name, "\"" + refs_.AnyProgram() + "\" /tray");
      }
    }

    for (int a = 0; a < kAppPaths; ++a) {
      const int vendor = refs_.Pick(kVendors);
      Key(cv + "\\App Paths\\Tool" + std::to_string(a) + ".exe");
      Text("", refs_.AnyProgram());
      Text("Path", refs_.VendorFolder(vendor) + "\\Bin;" + kSystem32);
    }

    for (int u = 0; u < kUninstallEntries; ++u) {
      Key(cv + "\\Uninstall\\" + (u % 2 == 0 ? Guid(5, static_cast<std::uint32_t>(u))
                                              : "Product " + std::to_string(u)));
      Text("DisplayName", "Product " + std::to_string(u));
      Text("DisplayVersion", std::to_string(u % 9) + "." + std::to_string(u % 13));
      Text("Publisher", "Vendor " + std::to_string(u % kVendors));
      Text("InstallLocation", refs_.VendorFolder(u % kVendors));
      Text("DisplayIcon", refs_.AnyProgram() + ",0");
      if (u % 3 == 0) {
        Text("UninstallString", "MsiExec.exe /X" + Guid(5, static_cast<std::uint32_t>(u)));
      } else {
        Text("UninstallString", "\"" + refs_.AnyProgram() + "\" /S");
      }
      Number("EstimatedSize", 1000 + u);
      Number("NoModify", 1);
      Number("NoRepair", 1);
      Text("URLInfoAbout", "https://vendor" + std::to_string(u % kVendors) + ".example.com/");
    }

    Key(cv + "\\Installer\\Folders");
    for (int f = 0; f < 50; ++f) {
      Text(refs_.VendorFolder(f) + "\\", "");
    }

    Key("SOFTWARE\\Microsoft\\Windows\\Help");
    for (int h = 0; h < kHelpEntries; ++h) {
      const bool gone = refs_.Missing();
      Text(gone ? "Gone" + std::to_string(h) + ".hlp" : refs_.HelpFile(h % kHelpFiles),
           kHelp);
    }
    Key("SOFTWARE\\Microsoft\\Windows\\HTML Help");
    for (int h = 0; h < kHelpEntries / 3; ++h) {
      Text(refs_.HelpFile(h), kHelp);
    }

    Key("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts");
    for (int f = 0; f < kFontEntries; ++f) {
      const std::string name = "Font " + std::to_string(f) + " (TrueType)";
      if (refs_.Missing()) {
        Text(name, "Gone" + std::to_string(f) + ".ttf");
      } else if (f % 10 == 0) {
        Text(name, std::string(kFonts) + "\\" + refs_.FontFile(f % kFontFiles));
      } else {
        Text(name, refs_.FontFile(f % kFontFiles));
      }
    }
  }

  void Sounds() {
    for (const TRootKey root : {TRootKey::CurrentUser, TRootKey::Users}) {
      Root(root);
      const std::string base = root == TRootKey::CurrentUser
                                   ? "AppEvents\\Schemes\\Apps\\"
                                   : ".DEFAULT\\AppEvents\\Schemes\\Apps\\";
      const int apps = root == TRootKey::CurrentUser ? kSoundApps : 4;
      for (int a = 0; a < apps; ++a) {
        for (int e = 0; e < kSoundEvents; ++e) {
          const std::string event =
              base + "App" + std::to_string(a) + "\\Event" + std::to_string(e);
          Key(event);
          Text("", "Event " + std::to_string(e));
          for (const char* scheme : {".Current", ".Default"}) {
            Key(event + "\\" + scheme);
            const int pick = refs_.Pick(10);
            if (pick < 3) {
              Expand("", "");
            } else if (refs_.Missing()) {
              Expand("", std::string(kMedia) + "\\Gone" + std::to_string(pick) + ".wav");
            } else if (pick < 6) {
              Expand("", refs_.SoundFile(refs_.Pick(kSoundFiles)));
            } else {
              Expand("", std::string(kMedia) + "\\" + refs_.SoundFile(refs_.Pick(kSoundFiles)));
            }
          }
        }
      }
    }
  }

  // The bulk of any registry: settings of ordinary programs, mostly plain
  // text and numbers, some naming files.
  void Software(TRootKey root, const std::string& top, int vendors, int products,
                int sections, int valuesPerSection) {
    Root(root);
    static const char* const kSections[] = {"Settings", "Options", "Recent",
                                            "Paths",    "Layout",  "Plugins",
                                            "History",  "Network"};
    for (int v = 0; v < vendors; ++v) {
      const std::string vendor = top + "\\Vendor" + std::to_string(v);
      Key(vendor);
      Text("Company", "Vendor " + std::to_string(v) + " Ltd.");
      for (int p = 0; p < products; ++p) {
        const std::string product = vendor + "\\Product" + std::to_string(p);
        Key(product);
        Text("InstallDir", refs_.VendorFolder(v % kVendors));
        Text("Version", std::to_string(p) + ".0." + std::to_string(v));
        Number("Installed", 1);
        for (int s = 0; s < sections; ++s) {
          Key(product + "\\" + kSections[s % 8]);
          for (int n = 0; n < valuesPerSection; ++n) {
            SettingsValue(n);
          }
        }
      }
    }
  }

  RegistryCounts Count() {
    RegistryCounts counts;
    for (const TRootKey root : {TRootKey::LocalMachine, TRootKey::Users}) {
      Root(root);
      CountBelow("", counts);
    }
    return counts;
  }

 private:
  static std::string ProgId(int n) {
    return "Vendor" + std::to_string(n % kVendors) + ".Class" + std::to_string(n);
  }

  void SettingsValue(int n) {
    const std::string name = "Value" + std::to_string(n);
    const int pick = refs_.Pick(100);
    if (pick < 50) {
      Text(name, "Option text " + std::to_string(refs_.Pick(100000)) + " for window " +
                     std::to_string(n));
    } else if (pick < 55) {
      Text(name, "https://vendor.example.com/update/" + std::to_string(pick));
    } else if (pick < 67) {
      Text(name, refs_.SettingsText());
    } else if (pick < 69) {
      Expand(name, "%ProgramFiles%\\Vendor" + std::to_string(refs_.Pick(kVendors)) +
                       "\\Bin\\Comp1.dll");
    } else if (pick < 89) {
      Number(name, refs_.Pick(65536));
    } else {
      Bytes(name, 16 + refs_.Pick(48));
    }
  }

  void CountBelow(const std::string& path, RegistryCounts& counts) {
    registry_.CloseKey();
    if (!registry_.OpenKeyReadOnly("\\" + path)) return;
    ++counts.keys;
    std::vector<std::string> subKeys;
    std::vector<std::string> values;
    registry_.GetKeyNames(subKeys);
    registry_.GetValueNames(values);
    counts.values += static_cast<long>(values.size());
    for (const std::string& name : subKeys) {
      CountBelow(path.empty() ? name : path + "\\" + name, counts);
    }
  }

  TRegistry registry_;
  FileRefs& refs_;
};

void MakeFiles(HostDrive& drive, const FileRefs& refs) {
  for (int v = 0; v < kVendors; ++v) {
    for (int f = 0; f < kFilesPerVendor; ++f) drive.MakeFile(refs.VendorFile(v, f));
    drive.MakeFolder(refs.VendorFolder(v) + "\\Data");
  }
  for (int n = 0; n < kSystemFiles; ++n) {
    drive.MakeFile(std::string(kSystem32) + "\\" + refs.SystemFile(n));
  }
  for (int n = 0; n < kFontFiles; ++n) {
    drive.MakeFile(std::string(kFonts) + "\\" + refs.FontFile(n));
  }
  for (int n = 0; n < kSoundFiles; ++n) {
    drive.MakeFile(std::string(kMedia) + "\\" + refs.SoundFile(n));
  }
  for (int n = 0; n < kHelpFiles; ++n) {
    drive.MakeFile(std::string(kHelp) + "\\" + refs.HelpFile(n));
  }
  drive.MakeFile(std::string(kSystem32) + "\\MsiExec.exe");
  drive.MakeFile(std::string(kSystem32) + "\\rundll32.exe");
  drive.MakeFolder(kCommonFiles);
}

// ---------------------------------------------------------------------------
// The runs

struct Run {
  std::string name;
  double seconds = 0;
  long keys = 0;     // walk only
  long strings = 0;  // walk only
  std::size_t records = 0;
  CountingFileSystem::Counts files;
  CountingRegistryStore::Counts store;
  double residentMiB = 0;
  double peakMiB = 0;
};

// What any scan costs at the least: every key of both roots opened, listed,
// and every string value read (the type asked first, as the file list does).
void WalkKey(TRegistry& registry, const std::string& path, Run& run) {
  registry.CloseKey();
  if (!registry.OpenKeyReadOnly("\\" + path)) return;
  ++run.keys;
  std::vector<std::string> subKeys;
  std::vector<std::string> values;
  registry.GetKeyNames(subKeys);
  registry.GetValueNames(values);
  for (const std::string& name : values) {
    const TRegDataType type = registry.GetDataType(name);
    if (type == TRegDataType::rdString || type == TRegDataType::rdExpandString) {
      benchmark::DoNotOptimize(registry.ReadString(name));
      ++run.strings;
    }
  }
  for (const std::string& name : subKeys) {
    WalkKey(registry, path.empty() ? name : path + "\\" + name, run);
  }
}

Run BareWalk(CountingRegistryStore& store, CountingFileSystem& files) {
  Run run;
  run.name = "bare walk";
  store.Reset();
  files.Reset();
  const Clock::time_point start = Clock::now();
  TRegistry registry(store);
  for (const TRootKey root : {TRootKey::LocalMachine, TRootKey::CurrentUser}) {
    registry.SetRootKey(root);
    WalkKey(registry, "", run);
  }
  registry.CloseKey();
  run.seconds = SecondsSince(start);
  run.store = store.Snapshot();
  run.files = files.Snapshot();
  run.residentMiB = CurrentResidentMiB();
  run.peakMiB = PeakResidentMiB();
  return run;
}

Run Scan(const std::string& name, std::uint16_t categories,
         CountingRegistryStore& store, CountingFileSystem& files,
         TFileReferences& refs) {
  Run run;
  run.name = name;
  store.Reset();
  files.Reset();
  const Clock::time_point start = Clock::now();
  {
    TQueueDispatcher dispatcher;
    TRegistryCheckThread engine(store, dispatcher, nullptr, MakeAllChecks(refs));
    engine.Categories = categories;
    engine.Start();
    engine.WaitFor();
    if (engine.FatalException()) {
      std::fprintf(stderr, "%s: the scan failed\n", name.c_str());
    }
    run.records = engine.Errors.size();
    // Taken before the engine frees its records.
    run.residentMiB = CurrentResidentMiB();
  }
  run.seconds = SecondsSince(start);
  run.store = store.Snapshot();
  run.files = files.Snapshot();
  run.peakMiB = PeakResidentMiB();
  return run;
}

void PrintRun(const Run& run) {
  std::printf(
      "%-22s %9.3f s  records %7zu  fs: FileExists %8llu  DirectoryExists %7llu  "
      "ListFolder %llu  other %llu  (%.3f s in fs; %llu misses took %.3f s)\n"
      "%-22s              store: open %8llu (%llu failed)  close %8llu  queryInfo %8llu  "
      "enumKey %8llu  enumValue %8llu  queryValue %8llu  other %llu\n"
      "%-22s              memory: resident %.1f MiB, peak %.1f MiB\n",
      run.name.c_str(), run.seconds, run.records,
      static_cast<unsigned long long>(run.files.fileExists),
      static_cast<unsigned long long>(run.files.directoryExists),
      static_cast<unsigned long long>(run.files.listFolder),
      static_cast<unsigned long long>(run.files.other), run.files.seconds,
      static_cast<unsigned long long>(run.files.misses), run.files.missSeconds, "",
      static_cast<unsigned long long>(run.store.open),
      static_cast<unsigned long long>(run.store.openFailed),
      static_cast<unsigned long long>(run.store.close),
      static_cast<unsigned long long>(run.store.queryInfo),
      static_cast<unsigned long long>(run.store.enumKey),
      static_cast<unsigned long long>(run.store.enumValue),
      static_cast<unsigned long long>(run.store.queryValue),
      static_cast<unsigned long long>(run.store.other), "", run.residentMiB,
      run.peakMiB);
  std::fflush(stdout);
}

const Run& Fastest(const std::vector<Run>& runs) {
  return *std::min_element(runs.begin(), runs.end(), [](const Run& a, const Run& b) {
    return a.seconds < b.seconds;
  });
}

int IntOption(int argc, char** argv, const char* prefix, int fallback) {
  const std::size_t length = std::strlen(prefix);
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], prefix, length) == 0) return std::atoi(argv[i] + length);
  }
  return fallback;
}

bool Flag(int argc, char** argv, const char* flag) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], flag) == 0) return true;
  }
  return false;
}

constexpr std::uint16_t kEveryCategory =
    cfSharedDlls | cfFileAssociations | cfStartupRun | cfAppPaths | cfHelp |
    cfFonts | cfSounds | cfClassesSection | cfFileList;

int Main(int argc, char** argv) {
  const int scanRuns = std::max(1, IntOption(argc, argv, "--runs=", 2));
  const int walkRuns = std::max(1, IntOption(argc, argv, "--walk-runs=", 3));
  const bool onlyFull = Flag(argc, argv, "--only-full");
  const bool skipCategories = onlyFull || Flag(argc, argv, "--skip-categories");
  const bool mixedCase = Flag(argc, argv, "--mixed-case-files");
  const bool statFs = !mixedCase && Flag(argc, argv, "--stat-fs");

  // --- set-up
  const Clock::time_point setupStart = Clock::now();
  std::mt19937 random(20261208);
  FileRefs refs(random);
  HostDrive drive(mixedCase);
  MakeFiles(drive, refs);
  const double filesSeconds = SecondsSince(setupStart);

  MemoryRegistryStore memory;
  RegistryCounts counts;
  {
    RegistryBuilder builder(memory, refs);
    builder.Classes();
    builder.SoftwareSections();
    builder.Sounds();
    builder.Software(TRootKey::LocalMachine, "SOFTWARE", kMachineVendors,
                     kMachineProducts, kMachineSections, kMachineValuesPerSection);
    builder.Software(TRootKey::CurrentUser, "Software", kUserVendors,
                     kUserProducts, kUserSections, kUserValuesPerSection);
    counts = builder.Count();
  }
  std::printf(
      "set-up: %d host files in %.2f s; registry of %ld keys and %ld values "
      "(HKLM and HKU) in %.2f s; resident %.1f MiB\n",
      drive.Files(), filesSeconds, counts.keys, counts.values,
      SecondsSince(setupStart) - filesSeconds, CurrentResidentMiB());
  std::printf("host files spelt %s; lookups through %s\n\n",
              mixedCase ? "as the registry spells them (case folded by listing)"
                        : "in lower case",
              statFs ? "one stat() each (as Windows: one call per lookup)"
                     : "NativeFileSystem (a name not found at once lists its folder)");
  std::fflush(stdout);

  NativeFileSystem native(drive.Root());
  StatFileSystem statOnly(drive.Root());
  CountingFileSystem files(statFs ? static_cast<TFileSystem&>(statOnly)
                                  : static_cast<TFileSystem&>(native));
  CountingRegistryStore store(memory);

  TSpecialFolders special;
  special.WindowsFolder = kWindows;
  special.SystemFolder = kSystem32;
  special.FontsFolder = kFonts;
  special.ProgramFilesFolder = kProgramFiles;
  special.CommonFilesFolder = kCommonFiles;
  special.TempFolder = "C:\\Windows\\Temp";
  special.ProgramFileName = "C:\\Program Files\\Tidewell\\Tidewell.exe";
  const std::string path = std::string(kSystem32) + ";" + kWindows;
  NativeSystemEnvironment environment(
      special, {{"PATH", path},
                {"SystemRoot", kWindows},
                {"windir", kWindows},
                {"ProgramFiles", kProgramFiles},
                {"SystemDrive", "C:"}});
  const TFolderSet folders = BuildFolderSet(environment, memory);
  TFileReferences fileRefs(folders, files, environment, store);

  // --- runs
  std::vector<Run> walks;
  if (!onlyFull) {
    for (int i = 0; i < walkRuns; ++i) {
      walks.push_back(BareWalk(store, files));
      PrintRun(walks.back());
    }
  }
  std::vector<Run> fulls;
  for (int i = 0; i < (onlyFull ? 1 : scanRuns); ++i) {
    fulls.push_back(Scan("full scan", kEveryCategory, store, files, fileRefs));
    PrintRun(fulls.back());
  }
  struct Category {
    const char* name;
    std::uint16_t flag;
  };
  static const Category kCategories[] = {
      {"classes", cfClassesSection}, {"shared DLLs", cfSharedDlls},
      {"startup run", cfStartupRun}, {"app paths+uninstall", cfAppPaths},
      {"help", cfHelp},              {"fonts", cfFonts},
      {"sounds", cfSounds},          {"file list", cfFileList},
  };
  std::vector<Run> categories;
  if (!skipCategories) {
    for (const Category& category : kCategories) {
      categories.push_back(Scan(category.name, category.flag, store, files, fileRefs));
      PrintRun(categories.back());
    }
  }

  // --- summary
  std::printf("\nsummary (fastest run of each)\n");
  std::printf("%-22s %10s %10s %12s %10s %12s %10s\n", "run", "seconds",
              "x walk", "fs calls", "fs secs", "store calls", "records");
  const double walkSeconds = walks.empty() ? 0 : Fastest(walks).seconds;
  const auto line = [&](const Run& run) {
    std::printf("%-22s %10.3f %10s %12llu %10.3f %12llu %10zu\n", run.name.c_str(),
                run.seconds,
                walkSeconds > 0
                    ? (std::to_string(run.seconds / walkSeconds).substr(0, 6) + "x").c_str()
                    : "-",
                static_cast<unsigned long long>(run.files.Total()), run.files.seconds,
                static_cast<unsigned long long>(run.store.Total()), run.records);
  };
  if (!walks.empty()) line(Fastest(walks));
  line(Fastest(fulls));
  for (const Run& run : categories) line(run);
  if (!walks.empty()) {
    const Run& full = Fastest(fulls);
    std::printf("\nfull scan / bare walk: %.1fx (%.1fx with file-system time left out)\n",
                full.seconds / walkSeconds,
                (full.seconds - full.files.seconds) / walkSeconds);
  }
  std::printf("peak resident memory: %.1f MiB\n", PeakResidentMiB());
  return 0;
}

}  // namespace
}  // namespace tidewell

int main(int argc, char** argv) { return tidewell::Main(argc, argv); }
