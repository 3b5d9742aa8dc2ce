// Puts the scan benchmark's synthetic machine on a Wine drive: writes its
// registry (HKEY_LOCAL_MACHINE and HKEY_USERS, the user's own key as
// HKEY_CURRENT_USER) as a registry editor file for `regedit /s`, and makes the
// files it names below the drive's host folder. Names already on the drive in
// another letter case ("windows" for "Windows") are reused, as Windows would
// find them.
//
// Usage: synthetic_registry_export OUT.reg DRIVE_C_FOLDER
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "bench/SyntheticRegistry.h"
#include "platform/TextEncoding.h"
#include "registry/MemoryRegistryStore.h"
#include "registry/Registry.h"
#include "undo/RegEditNotation.h"

namespace tidewell {
namespace {

namespace fs = std::filesystem;

// The seed the benchmark plants its registry with.
constexpr std::uint32_t kSeed = 20261208;

class RegFileWriter {
 public:
  explicit RegFileWriter(RegistryStore& store) : registry_(store) {}

  void Root(TRootKey root, const std::string& name) {
    registry_.SetRootKey(root);
    Key("", name);
  }
  const std::string& Text() const { return text_; }
  long Keys() const { return keys_; }

 private:
  void Key(const std::string& path, const std::string& shown) {
    registry_.CloseKey();
    if (!registry_.OpenKeyReadOnly("\\" + path)) return;
    std::vector<std::string> subKeys;
    registry_.GetKeyNames(subKeys);
    std::vector<TRegValue> values;
    registry_.GetValues(values);
    // The user's key is written as HKEY_CURRENT_USER, which Wine keeps there.
    const std::string user = std::string("HKEY_USERS\\") +
                             MemoryRegistryStore::kCurrentUserSid;
    std::string header = shown;
    if (header.compare(0, user.size(), user) == 0) {
      header = "HKEY_CURRENT_USER" + header.substr(user.size());
    }
    if (header.find('\\') != std::string::npos) {
      text_ += "[" + header + "]\r\n";
      ++keys_;
      for (const TRegValue& value : values) Value(value);
      text_ += "\r\n";
    }
    for (const std::string& name : subKeys) {
      Key(path.empty() ? name : path + "\\" + name, shown + "\\" + name);
    }
  }

  void Value(const TRegValue& value) {
    const std::string name =
        value.Name.empty() ? "@" : "\"" + EscapeRegEditText(value.Name) + "\"";
    if (value.Type == regtype::String) {
      text_ += name + "=\"" + EscapeRegEditText(value.Text()) + "\"\r\n";
      return;
    }
    if (value.Type == regtype::Dword && value.Data.size() == 4) {
      std::uint32_t number = 0;
      for (std::size_t i = 0; i < 4; ++i) number |= std::uint32_t{value.Data[i]} << (8 * i);
      text_ += name + "=" + DwordNotation(number) + "\r\n";
      return;
    }
    const std::string head = name + "=" + HexNotationTag(value.Type);
    for (const std::string& line : HexNotationLines(head, head.size(), value.Data)) {
      text_ += line + "\r\n";
    }
  }

  TRegistry registry_;
  std::string text_;
  long keys_ = 0;
};

// The host path of a Windows path on drive C:, each name matched against
// what the folder already holds without regard to letter case.
fs::path HostPath(const fs::path& drive, const std::string& windowsPath) {
  fs::path host = drive;
  std::string rest = windowsPath.substr(3);  // past "C:\"
  while (!rest.empty()) {
    const std::size_t slash = rest.find('\\');
    const std::string name = rest.substr(0, slash);
    rest = slash == std::string::npos ? "" : rest.substr(slash + 1);
    fs::path next = host / name;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(host, ec)) {
      if (NamesEqual(entry.path().filename().string(), name)) {
        next = entry.path();
        break;
      }
    }
    host = next;
  }
  return host;
}

int Main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: synthetic_registry_export OUT.reg DRIVE_C_FOLDER\n");
    return 2;
  }
  const SyntheticFolders machine;
  MemoryRegistryStore store;
  const RegistryCounts counts = BuildSyntheticRegistry(store, machine, kSeed);

  RegFileWriter writer(store);
  writer.Root(TRootKey::LocalMachine, "HKEY_LOCAL_MACHINE");
  writer.Root(TRootKey::Users, "HKEY_USERS");
  const std::string text = "Windows Registry Editor Version 5.00\r\n\r\n" + writer.Text();
  std::ofstream out(argv[1], std::ios::binary);
  out << "\xFF\xFE" << Utf16LeBytes(Utf8ToUtf16(text), false);
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }

  const fs::path drive = argv[2];
  int files = 0;
  ForEachSyntheticFile(machine, SyntheticSizes{},
                       [&](const std::string& path, bool folder) {
                         const fs::path host = HostPath(drive, path);
                         if (folder) {
                           fs::create_directories(host);
                           return;
                         }
                         fs::create_directories(host.parent_path());
                         // The parent may only now exist: match the name again.
                         std::ofstream(HostPath(drive, path)) << "x";
                         ++files;
                       });
  std::printf("synthetic machine: %ld keys and %ld values (HKLM and HKU), %ld keys "
              "written, %d files made\n",
              counts.keys, counts.values, writer.Keys(), files);
  return 0;
}

}  // namespace
}  // namespace tidewell

int main(int argc, char** argv) { return tidewell::Main(argc, argv); }
