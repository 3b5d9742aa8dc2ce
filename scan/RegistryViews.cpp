#include "scan/RegistryViews.h"

#include <array>
#include <string_view>

#include "platform/CharKinds.h"
#include "platform/TextEncoding.h"
#include "scan/FileRefText.h"

namespace tidewell {
namespace {

constexpr std::string_view kWow6432Node = "Wow6432Node";

// The COM folders of the classes that each view keeps for itself.
constexpr std::array<std::string_view, 5> kSeparateClassFolders = {
    "CLSID", "Interface", "DirectShow", "Media Type", "MediaFoundation"};

// The class folders below the classes' Wow6432Node that are the 64-bit
// folders themselves.
constexpr std::array<std::string_view, 3> kSharedClassFolders = {
    "AppID", "Protocols", "TypeLib"};

// The keys below the machine's SOFTWARE that both views share.
constexpr std::array<std::string_view, 46> kSharedSoftwareKeys = {
    "Microsoft\\Clients",
    "Microsoft\\COM3",
    "Microsoft\\Cryptography\\Calais\\Current",
    "Microsoft\\Cryptography\\Calais\\Readers",
    "Microsoft\\Cryptography\\Services",
    "Microsoft\\CTF\\SystemShared",
    "Microsoft\\CTF\\TIP",
    "Microsoft\\DFS",
    "Microsoft\\Driver Signing",
    "Microsoft\\EnterpriseCertificates",
    "Microsoft\\EventSystem",
    "Microsoft\\MSMQ",
    "Microsoft\\Non-Driver Signing",
    "Microsoft\\Notepad\\DefaultFonts",
    "Microsoft\\OLE",
    "Microsoft\\RAS",
    "Microsoft\\RPC",
    "Microsoft\\Shared Tools\\MSInfo",
    "Microsoft\\SystemCertificates",
    "Microsoft\\TermServLicensing",
    "Microsoft\\Transaction Server",
    "Microsoft\\Windows\\CurrentVersion\\App Paths",
    "Microsoft\\Windows\\CurrentVersion\\Control Panel\\Cursors\\Schemes",
    "Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoplayHandlers",
    "Microsoft\\Windows\\CurrentVersion\\Explorer\\DriveIcons",
    "Microsoft\\Windows\\CurrentVersion\\Explorer\\KindMap",
    "Microsoft\\Windows\\CurrentVersion\\Group Policy",
    "Microsoft\\Windows\\CurrentVersion\\Policies",
    "Microsoft\\Windows\\CurrentVersion\\PreviewHandlers",
    "Microsoft\\Windows\\CurrentVersion\\Setup",
    "Microsoft\\Windows\\CurrentVersion\\Telephony\\Locations",
    "Microsoft\\Windows NT\\CurrentVersion\\Console",
    "Microsoft\\Windows NT\\CurrentVersion\\FontDpi",
    "Microsoft\\Windows NT\\CurrentVersion\\FontLink",
    "Microsoft\\Windows NT\\CurrentVersion\\FontMapper",
    "Microsoft\\Windows NT\\CurrentVersion\\Fonts",
    "Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes",
    "Microsoft\\Windows NT\\CurrentVersion\\Gre_Initialize",
    "Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options",
    "Microsoft\\Windows NT\\CurrentVersion\\LanguagePack",
    "Microsoft\\Windows NT\\CurrentVersion\\NetworkCards",
    "Microsoft\\Windows NT\\CurrentVersion\\Perflib",
    "Microsoft\\Windows NT\\CurrentVersion\\Ports",
    "Microsoft\\Windows NT\\CurrentVersion\\Print",
    "Microsoft\\Windows NT\\CurrentVersion\\ProfileList",
    "Microsoft\\Windows NT\\CurrentVersion\\Time Zones",
};
constexpr std::array<std::string_view, 2> kSharedSoftwareRoots = {
    "Policies", "Registered Applications"};

// The folders below System32 that Windows does not redirect.
constexpr std::array<std::string_view, 6> kUnredirectedSystemFolders = {
    "catroot", "catroot2", "driverstore", "drivers\\etc", "logfiles", "spool"};

using Parts = std::vector<std::string>;

Parts SplitKeyPath(const std::string& path) {
  Parts parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

bool Is(const Parts& parts, std::size_t index, std::string_view name) {
  return index < parts.size() && NamesEqual(parts[index], std::string(name));
}

template <std::size_t N>
bool IsOneOf(const Parts& parts, std::size_t index,
             const std::array<std::string_view, N>& names) {
  for (const std::string_view name : names) {
    if (Is(parts, index, name)) return true;
  }
  return false;
}

// Whether the parts from `from` on are `key` or a key below it.
bool IsAtOrBelow(const Parts& parts, std::size_t from, const Parts& key) {
  if (parts.size() < from + key.size()) return false;
  for (std::size_t i = 0; i < key.size(); ++i) {
    if (!NamesEqual(parts[from + i], key[i])) return false;
  }
  return true;
}

bool IsSharedSoftwareKey(const Parts& parts, std::size_t from) {
  // Every shared key lies below Microsoft, apart from the few roots.
  if (IsOneOf(parts, from, kSharedSoftwareRoots)) return true;
  if (!Is(parts, from, "Microsoft")) return false;
  static const std::vector<Parts> kShared = [] {
    std::vector<Parts> keys;
    for (const std::string_view key : kSharedSoftwareKeys) {
      keys.push_back(SplitKeyPath(std::string(key)));
    }
    return keys;
  }();
  for (const Parts& key : kShared) {
    if (IsAtOrBelow(parts, from, key)) return true;
  }
  return false;
}

// Whether the classes path from `from` on lies in a folder each view keeps
// for itself.
bool InSeparateClassFolder(const Parts& parts, std::size_t from) {
  return IsOneOf(parts, from, kSeparateClassFolders);
}

TRegView OwnBits(TWowLayout layout) {
  return layout == TWowLayout::Wow32 ? TRegView::Bits32 : TRegView::Bits64;
}

// The rest of `path` after `folder` and a separator (or the end), letter
// case ignored; nothing when the path does not lie in the folder.
bool RestInFolder(const std::string& path, const std::string& folder,
                  std::string* rest) {
  if (folder.empty() || path.size() < folder.size()) return false;
  if (!NamesEqual(path.substr(0, folder.size()), folder)) return false;
  if (path.size() > folder.size() && !IsPathSeparator(path[folder.size()])) {
    return false;
  }
  *rest = path.substr(folder.size());
  return true;
}

bool IsUnredirected(const std::string& rest) {
  const std::string lower = LowerAscii(rest);
  for (const std::string_view folder : kUnredirectedSystemFolders) {
    // rest starts with a separator; folder names use backslashes.
    if (lower.size() < folder.size() + 1) continue;
    std::string head = lower.substr(1, folder.size());
    for (char& c : head) {
      if (c == '/') c = '\\';
    }
    if (head == folder && (lower.size() == folder.size() + 1 ||
                           IsPathSeparator(lower[folder.size() + 1]))) {
      return true;
    }
  }
  return false;
}

// `path` with its System32 folder replaced by `other` (a folder name beside
// System32), or the empty text when it names no redirected System32 file.
std::string InOtherSystemFolder(const TFolderSet& folders,
                                const std::string& path,
                                std::string_view other) {
  if (folders.WindowsFolder.empty()) return std::string();
  const std::string system32 = folders.WindowsFolder + "\\System32";
  std::string rest;
  if (!RestInFolder(path, system32, &rest) &&
      !RestInFolder(path, folders.WindowsFolder + "/System32", &rest) &&
      !RestInFolder(path, folders.SystemFolder, &rest)) {
    return std::string();
  }
  if (IsUnredirected(rest)) return std::string();
  return folders.WindowsFolder + "\\" + std::string(other) + rest;
}

}  // namespace

TRegView ViewOfKey(TWowLayout layout, TRootKey root, const std::string& path) {
  if (layout == TWowLayout::None) return TRegView::Own;
  const Parts parts = SplitKeyPath(path);
  for (const std::string& part : parts) {
    if (NamesEqual(part, std::string(kWow6432Node))) return TRegView::Bits32;
  }
  switch (root) {
    case TRootKey::ClassesRoot:
      return InSeparateClassFolder(parts, 0) ? OwnBits(layout) : TRegView::Both;
    case TRootKey::LocalMachine:
      if (!Is(parts, 0, "SOFTWARE")) return TRegView::Both;
      if (Is(parts, 1, "Classes")) {
        return InSeparateClassFolder(parts, 2) ? OwnBits(layout)
                                               : TRegView::Both;
      }
      return IsSharedSoftwareKey(parts, 1) ? TRegView::Both : OwnBits(layout);
    case TRootKey::CurrentUser:
      return Is(parts, 0, "Software") && Is(parts, 1, "Classes") &&
                     InSeparateClassFolder(parts, 2)
                 ? OwnBits(layout)
                 : TRegView::Both;
    case TRootKey::Users: {
      // A user's key, or the user's own classes hive beside it.
      const bool classesHive =
          !parts.empty() && parts[0].size() > 8 &&
          NamesEqual(parts[0].substr(parts[0].size() - 8), "_Classes");
      const bool separate =
          classesHive ? InSeparateClassFolder(parts, 1)
                      : Is(parts, 1, "Software") && Is(parts, 2, "Classes") &&
                            InSeparateClassFolder(parts, 3);
      return separate ? OwnBits(layout) : TRegView::Both;
    }
  }
  return TRegView::Both;
}

bool IsSharedKeyMetAgain(TWowLayout layout, TRootKey root,
                         const std::string& path) {
  if (layout != TWowLayout::Native64) return false;
  if (root != TRootKey::LocalMachine && root != TRootKey::CurrentUser) {
    return false;
  }
  const Parts parts = SplitKeyPath(path);
  if (!Is(parts, 0, "SOFTWARE")) return false;
  if (Is(parts, 1, kWow6432Node)) {
    return Is(parts, 2, "Classes") ||
           (root == TRootKey::LocalMachine && IsSharedSoftwareKey(parts, 2));
  }
  return Is(parts, 1, "Classes") && Is(parts, 2, kWow6432Node) &&
         IsOneOf(parts, 3, kSharedClassFolders);
}

std::vector<std::string> PathsInView(const TFolderSet& folders, TRegView view,
                                     const std::string& path) {
  if (folders.Wow == TWowLayout::None || view == TRegView::Own ||
      view == OwnBits(folders.Wow)) {
    return {path};
  }
  // A 64-bit program finds the 32-bit files in SysWOW64; a 32-bit program
  // reaches the 64-bit System32 through Sysnative.
  const std::string other = InOtherSystemFolder(
      folders, path,
      folders.Wow == TWowLayout::Native64 ? "SysWOW64" : "Sysnative");
  if (other.empty()) return {path};
  if (view == TRegView::Both) return {path, other};
  return {other};
}

bool KeyThereInView(TKeyTestCache& keys, TRegistry& registry, TWowLayout layout,
                    TRegView view, const std::string& path, TTestedList* tested) {
  if (layout == TWowLayout::None || view == TRegView::Own ||
      view == OwnBits(layout)) {
    return KeyThere(keys, registry, path, tested);
  }
  if (view == TRegView::Both && KeyThere(keys, registry, path, tested)) return true;
  const bool other32 = layout == TWowLayout::Native64;
  const std::uint32_t saved = registry.View();
  registry.SetView(other32 ? access::Wow64Key32 : access::Wow64Key64);
  const bool found = keys.KeyExists(registry, path);
  registry.SetView(saved);
  if (tested != nullptr) {
    tested->Key(registry.RootKey(), path, found,
                other32 ? "32-bit view" : "64-bit view");
  }
  return found;
}

}  // namespace tidewell
