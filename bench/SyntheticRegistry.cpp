#include "bench/SyntheticRegistry.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/WindowsPath.h"
#include "registry/Registry.h"

namespace tidewell {
namespace {

constexpr int kFilesPerVendor = 15;  // 10 libraries, 4 programs, 1 control

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
  FileRefs(std::mt19937& random, const SyntheticFolders& folders,
           const SyntheticSizes& sizes)
      : random_(random), folders_(folders), sizes_(sizes) {}

  std::string VendorFolder(int vendor) const {
    return folders_.ProgramFiles + "\\Vendor" + std::to_string(vendor);
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
    const int vendor = Pick(sizes_.vendors);
    if (!Missing()) return VendorFile(vendor, Pick(kFilesPerVendor));
    if (Pick(2) == 0) {
      return VendorFolder(vendor) + "\\Bin\\Gone" + std::to_string(Pick(50)) +
             missingExtension;
    }
    return folders_.ProgramFiles + "\\Removed" + std::to_string(Pick(500)) +
           "\\Bin\\Old" + std::to_string(Pick(20)) + missingExtension;
  }
  std::string AnyProgram() {
    const int vendor = Pick(sizes_.vendors);
    if (!Missing()) return VendorFile(vendor, 10 + Pick(4));
    return folders_.ProgramFiles + "\\Removed" + std::to_string(Pick(500)) +
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
        const int vendor = Pick(sizes_.vendors);
        return Missing() ? VendorFolder(vendor) + "\\Data" + std::to_string(Pick(9))
                         : VendorFolder(vendor) + "\\Bin";
      }
      default:
        return AnyFile();
    }
  }

 private:
  std::mt19937& random_;
  const SyntheticFolders& folders_;
  const SyntheticSizes& sizes_;
};

class RegistryBuilder {
 public:
  RegistryBuilder(RegistryStore& store, const SyntheticFolders& folders,
                  const SyntheticSizes& sizes, FileRefs& refs)
      : registry_(store), folders_(folders), sizes_(sizes), refs_(refs) {
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
    for (int c = 0; c < sizes_.clsids; ++c) {
      const std::string entry = classes + "CLSID\\" + Guid(1, static_cast<std::uint32_t>(c));
      Key(entry);
      Text("", "Component Class " + std::to_string(c));
      Key(entry + "\\InprocServer32");
      const int kind = refs_.Pick(10);
      Text("", kind == 0 ? refs_.SystemFile(refs_.Pick(sizes_.systemFiles + 30))
                         : refs_.AnyFile());
      Text("ThreadingModel", "Apartment");
      if (c < sizes_.progIds) {
        Key(entry + "\\ProgID");
        Text("", ProgId(c) + ".1");
        Key(entry + "\\VersionIndependentProgID");
        Text("", ProgId(c));
      }
      if (c % 5 == 0) {
        Key(entry + "\\TypeLib");
        Text("", Guid(3, static_cast<std::uint32_t>(refs_.Pick(sizes_.typeLibs + 100))));
      }
      if (c % 3 == 0) {
        Key(entry + "\\Implemented Categories\\" + Guid(9, static_cast<std::uint32_t>(c % 7)));
      }
    }
    for (int p = 0; p < sizes_.progIds; ++p) {
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
    for (int t = 0; t < sizes_.typeLibs; ++t) {
      const std::string library = classes + "TypeLib\\" + Guid(3, static_cast<std::uint32_t>(t));
      Key(library + "\\1.0");
      Text("", "Type Library " + std::to_string(t));
      Key(library + "\\1.0\\0\\win32");
      Text("", t % 2 == 0 ? refs_.AnyFile(".tlb") : refs_.AnyFile() + "\\2");
      Key(library + "\\1.0\\FLAGS");
      Text("", "0");
      Key(library + "\\1.0\\HELPDIR");
      Text("", refs_.VendorFolder(refs_.Pick(sizes_.vendors)) + "\\Bin");
    }
    for (int i = 0; i < sizes_.interfaces; ++i) {
      const std::string entry = classes + "Interface\\" + Guid(4, static_cast<std::uint32_t>(i));
      Key(entry);
      Text("", "IComponent" + std::to_string(i));
      Key(entry + "\\ProxyStubClsid32");
      Text("", Guid(1, static_cast<std::uint32_t>(refs_.Pick(sizes_.clsids + 200))));
      Key(entry + "\\NumMethods");
      Text("", std::to_string(3 + i % 20));
      if (i % 2 == 0) {
        Key(entry + "\\TypeLib");
        Text("", Guid(3, static_cast<std::uint32_t>(refs_.Pick(sizes_.typeLibs))));
        Text("Version", "1.0");
      }
    }
    for (int e = 0; e < sizes_.extensions; ++e) {
      const std::string entry = classes + ".e" + std::to_string(e);
      Key(entry);
      Text("", ProgId(refs_.Pick(sizes_.progIds + 300)));
      if (e % 3 == 0) {
        Text("Content Type", "application/x-e" + std::to_string(refs_.Pick(sizes_.contentTypes + 20)));
      }
      Key(entry + "\\OpenWithProgids");
      Text(ProgId(refs_.Pick(sizes_.progIds)), "");
      if (e % 10 == 0) {
        Key(entry + "\\PersistentHandler");
        Text("", Guid(1, static_cast<std::uint32_t>(refs_.Pick(sizes_.clsids))));
      }
    }
    for (int m = 0; m < sizes_.contentTypes; ++m) {
      Key(classes + "MIME\\Database\\Content Type\\application/x-e" + std::to_string(m));
      Text("Extension", ".e" + std::to_string(m));
    }
  }

  void SoftwareSections() {
    Root(TRootKey::LocalMachine);
    const std::string cv = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    Key(cv);
    Text("MediaPath", folders_.Media);
    Text("ProgramFilesDir", folders_.ProgramFiles);

    Key(cv + "\\SharedDLLs");
    for (int s = 0; s < sizes_.sharedDlls; ++s) {
      Number(refs_.AnyFile(), refs_.Pick(100) < 2 ? 0 : 1 + refs_.Pick(5));
    }

    Key(cv + "\\Run");
    for (int r = 0; r < sizes_.runEntries; ++r) {
      const std::string name = "Startup " + std::to_string(r);
      if (r % 8 == 0) {
        Text(name, "rundll32.exe \"" + refs_.AnyFile() + "\",Start");
      } else {
        Text(name, "\"" + refs_.AnyProgram() + "\" /tray");
      }
    }

    for (int a = 0; a < sizes_.appPaths; ++a) {
      const int vendor = refs_.Pick(sizes_.vendors);
      Key(cv + "\\App Paths\\Tool" + std::to_string(a) + ".exe");
      Text("", refs_.AnyProgram());
      Text("Path", refs_.VendorFolder(vendor) + "\\Bin;" + folders_.System32);
    }

    for (int u = 0; u < sizes_.uninstallEntries; ++u) {
      Key(cv + "\\Uninstall\\" + (u % 2 == 0 ? Guid(5, static_cast<std::uint32_t>(u))
                                              : "Product " + std::to_string(u)));
      Text("DisplayName", "Product " + std::to_string(u));
      Text("DisplayVersion", std::to_string(u % 9) + "." + std::to_string(u % 13));
      Text("Publisher", "Vendor " + std::to_string(u % sizes_.vendors));
      Text("InstallLocation", refs_.VendorFolder(u % sizes_.vendors));
      Text("DisplayIcon", refs_.AnyProgram() + ",0");
      if (u % 3 == 0) {
        Text("UninstallString", "MsiExec.exe /X" + Guid(5, static_cast<std::uint32_t>(u)));
      } else {
        Text("UninstallString", "\"" + refs_.AnyProgram() + "\" /S");
      }
      Number("EstimatedSize", 1000 + u);
      Number("NoModify", 1);
      Number("NoRepair", 1);
      Text("URLInfoAbout", "https://vendor" + std::to_string(u % sizes_.vendors) + ".example.com/");
    }

    Key(cv + "\\Installer\\Folders");
    for (int f = 0; f < 50; ++f) {
      Text(refs_.VendorFolder(f) + "\\", "");
    }

    Key("SOFTWARE\\Microsoft\\Windows\\Help");
    for (int h = 0; h < sizes_.helpEntries; ++h) {
      const bool gone = refs_.Missing();
      Text(gone ? "Gone" + std::to_string(h) + ".hlp" : refs_.HelpFile(h % sizes_.helpFiles),
           folders_.Help);
    }
    Key("SOFTWARE\\Microsoft\\Windows\\HTML Help");
    for (int h = 0; h < sizes_.helpEntries / 3; ++h) {
      Text(refs_.HelpFile(h), folders_.Help);
    }

    Key("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts");
    for (int f = 0; f < sizes_.fontEntries; ++f) {
      const std::string name = "Font " + std::to_string(f) + " (TrueType)";
      if (refs_.Missing()) {
        Text(name, "Gone" + std::to_string(f) + ".ttf");
      } else if (f % 10 == 0) {
        Text(name, folders_.Fonts + "\\" + refs_.FontFile(f % sizes_.fontFiles));
      } else {
        Text(name, refs_.FontFile(f % sizes_.fontFiles));
      }
    }
  }

  void Sounds() {
    for (const TRootKey root : {TRootKey::CurrentUser, TRootKey::Users}) {
      Root(root);
      const std::string base = root == TRootKey::CurrentUser
                                   ? "AppEvents\\Schemes\\Apps\\"
                                   : ".DEFAULT\\AppEvents\\Schemes\\Apps\\";
      const int apps = root == TRootKey::CurrentUser ? sizes_.soundApps : 4;
      for (int a = 0; a < apps; ++a) {
        for (int e = 0; e < sizes_.soundEvents; ++e) {
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
              Expand("", folders_.Media + "\\Gone" + std::to_string(pick) + ".wav");
            } else if (pick < 6) {
              Expand("", refs_.SoundFile(refs_.Pick(sizes_.soundFiles)));
            } else {
              Expand("", folders_.Media + "\\" + refs_.SoundFile(refs_.Pick(sizes_.soundFiles)));
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
        Text("InstallDir", refs_.VendorFolder(v % sizes_.vendors));
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
  std::string ProgId(int n) const {
    return "Vendor" + std::to_string(n % sizes_.vendors) + ".Class" + std::to_string(n);
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
      Expand(name, "%ProgramFiles%\\Vendor" + std::to_string(refs_.Pick(sizes_.vendors)) +
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
  const SyntheticFolders& folders_;
  const SyntheticSizes& sizes_;
  FileRefs& refs_;
};


std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// The host path of `windowsPath` ("C:\\..."), in lower case unless `mixedCase`.
std::filesystem::path HostName(const std::filesystem::path& drives,
                               const std::string& windowsPath, bool mixedCase) {
  std::string relative = windowsPath.substr(3);  // past "C:\\"
  std::replace(relative.begin(), relative.end(), '\\', '/');
  return drives / "c" / (mixedCase ? relative : LowerAscii(relative));
}

}  // namespace

std::filesystem::path DrivesFolder(testing::TestDrive& drive) {
  TWindowsPath root;
  ParseWindowsPath(drive.Root(), root);
  std::filesystem::path host = drive.HostPath("");
  for (std::size_t i = 0; i <= root.Components.size(); ++i) {
    host = host.parent_path();
  }
  return host;
}

void ForEachSyntheticFile(
    const SyntheticFolders& folders, const SyntheticSizes& sizes,
    const std::function<void(const std::string& path, bool folder)>& make) {
  std::mt19937 unused;  // names only: nothing is drawn
  const FileRefs refs(unused, folders, sizes);
  for (int v = 0; v < sizes.vendors; ++v) {
    for (int f = 0; f < kFilesPerVendor; ++f) make(refs.VendorFile(v, f), false);
    make(refs.VendorFolder(v) + "\\Data", true);
  }
  for (int n = 0; n < sizes.systemFiles; ++n) {
    make(folders.System32 + "\\" + refs.SystemFile(n), false);
  }
  for (int n = 0; n < sizes.fontFiles; ++n) {
    make(folders.Fonts + "\\" + refs.FontFile(n), false);
  }
  for (int n = 0; n < sizes.soundFiles; ++n) {
    make(folders.Media + "\\" + refs.SoundFile(n), false);
  }
  for (int n = 0; n < sizes.helpFiles; ++n) {
    make(folders.Help + "\\" + refs.HelpFile(n), false);
  }
  make(folders.System32 + "\\MsiExec.exe", false);
  make(folders.System32 + "\\rundll32.exe", false);
  make(folders.CommonFiles, true);
}

int MakeSyntheticFiles(testing::TestDrive& drive,
                       const SyntheticFolders& folders, bool mixedCase,
                       const SyntheticSizes& sizes) {
  const std::filesystem::path drives = DrivesFolder(drive);
  int files = 0;
  ForEachSyntheticFile(folders, sizes, [&](const std::string& path, bool folder) {
    const std::filesystem::path host = HostName(drives, path, mixedCase);
    if (folder) {
      std::filesystem::create_directories(host);
      return;
    }
    std::filesystem::create_directories(host.parent_path());
    std::ofstream(host) << "x";
    ++files;
  });
  return files;
}

RegistryCounts BuildSyntheticRegistry(RegistryStore& store,
                                      const SyntheticFolders& folders,
                                      std::uint32_t seed,
                                      const SyntheticSizes& sizes) {
  std::mt19937 random(seed);
  FileRefs refs(random, folders, sizes);
  RegistryBuilder builder(store, folders, sizes, refs);
  builder.Classes();
  builder.SoftwareSections();
  builder.Sounds();
  builder.Software(TRootKey::LocalMachine, "SOFTWARE", sizes.machineVendors,
                   sizes.machineProducts, sizes.machineSections,
                   sizes.machineValuesPerSection);
  builder.Software(TRootKey::CurrentUser, "Software", sizes.userVendors,
                   sizes.userProducts, sizes.userSections,
                   sizes.userValuesPerSection);
  return builder.Count();
}

SyntheticSizes SyntheticSizes::Small() {
  SyntheticSizes sizes;
  sizes.vendors = 20;
  sizes.systemFiles = 30;
  sizes.fontFiles = 80;
  sizes.soundFiles = 10;
  sizes.helpFiles = 20;
  sizes.clsids = 850;
  sizes.progIds = 400;
  sizes.typeLibs = 150;
  sizes.interfaces = 400;
  sizes.extensions = 75;
  sizes.contentTypes = 15;
  sizes.sharedDlls = 200;
  sizes.appPaths = 40;
  sizes.uninstallEntries = 60;
  sizes.helpEntries = 30;
  sizes.fontEntries = 80;
  sizes.soundApps = 4;
  sizes.machineVendors = 8;
  sizes.userVendors = 5;
  return sizes;
}

}  // namespace tidewell
