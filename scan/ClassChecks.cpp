#include "scan/ClassChecks.h"

#include <optional>
#include <vector>

#include "platform/TextEncoding.h"
#include "scan/ClassKeyWalk.h"
#include "scan/ClassValueReader.h"
#include "scan/FileRefText.h"
#include "scan/RegistryViews.h"
#include "scan/RegistryWork.h"

namespace tidewell {

namespace {

// A key problem: the whole key at `keyPath` is at fault.
void ReportKey(TRegistryCheckThread& engine, TRootKey root,
               const std::string& keyPath, const std::string& data,
               const std::string& description) {
  engine.AddRegistryError(root, keyPath, "", data, description);
}

// The file part of a DefaultIcon value: what comes before the icon index.
// An indirect resource reference "@path,-id" names the file after the "@";
// a packaged application's "@{package?ms-resource://...}" names no file at
// all (nothing).
std::optional<std::string> IconPath(const std::string& value) {
  std::string path = value;
  const std::string trimmed = TrimText(value);
  if (!trimmed.empty() && trimmed.front() == '@') {
    if (trimmed.compare(0, 2, "@{") == 0) return std::nullopt;
    path = trimmed.substr(1);
  }
  const std::size_t comma = path.find(',');
  if (comma == std::string::npos) return path;
  return TrimText(path.substr(0, comma));
}

// Runs one of a class's sub-checks so that a value it cannot read costs only
// that sub-check; the key it had open is closed as the failure leaves it.
template <typename SubCheck>
void Guarded(SubCheck&& subCheck) {
  try {
    subCheck();
  } catch (...) {
  }
}

}  // namespace

void AddClassChecks(TScanChecks& checks, TFileReferences& refs) {
  TFileReferences* files = &refs;
  checks.CheckCLSIDs = [files](TRegistryCheckThread& engine, TRootKey root,
                               const std::string& basePath) {
    CheckCLSIDs(engine, *files, root, basePath);
  };
  checks.CheckClasses = [files](TRegistryCheckThread& engine, TRootKey root,
                                const std::string& basePath) {
    CheckClasses(engine, *files, root, basePath);
  };
  checks.CheckTypeLibs = [files](TRegistryCheckThread& engine, TRootKey root,
                                 const std::string& basePath) {
    CheckTypeLibs(engine, *files, root, basePath);
  };
  checks.CheckInterfaces = [files](TRegistryCheckThread& engine, TRootKey root,
                                   const std::string& basePath) {
    CheckInterfaces(engine, *files, root, basePath);
  };
  checks.CheckFileExtensions = [files](TRegistryCheckThread& engine,
                                       TRootKey root,
                                       const std::string& basePath) {
    CheckFileExtensions(engine, *files, root, basePath);
  };
}

void CheckCLSIDs(TRegistryCheckThread& engine, TFileReferences& refs,
                 TRootKey root, const std::string& basePath) {
  struct FileSubCheck {
    const char* subKey;
    const char* description;
  };
  static const FileSubCheck kFiles[] = {
      {"InprocServer32", "InProcServer32 file not found"},
      {"InprocServer", "InProcServer handler does not exist"},
  };
  // Each names a key that must exist: the target prefix, the value, a
  // backslash. An empty value names the prefix itself.
  struct KeySubCheck {
    const char* subKey;
    const char* targetPrefix;
    const char* description;
  };
  static const KeySubCheck kKeys[] = {
      {"ProgID", "\\", "ProgID registry key does not exist"},
      {"VersionIndependentProgId", "",
       "VersionIndependedProgID registry key does not exist"},
      {"TypeLib", "TypeLib\\", "TypeLib registry key does not exist"},
  };

  TRegistry& registry = engine.Registry;
  TClassValueReader reader(engine, refs);
  WalkClassKey(
      engine, root, basePath, "Check CLSIDs: ", TStatusName::AsListed,
      [&](const std::string& name) {
        const std::string entry = basePath + name + "\\";
        const TRegView view = refs.ViewOfKey(root, entry);
        const TFileReferences::TViewScope fileView(refs, view);
        const auto subKeys = reader.ListEntry(entry);
        const auto wanted = [&](const char* subKey) {
          return !subKeys || MayHave(*subKeys, subKey);
        };
        for (const FileSubCheck& sub : kFiles) {
          if (!wanted(sub.subKey)) continue;
          Guarded([&] {
            const auto value = reader.Read(entry, entry + sub.subKey + "\\");
            if (value && !value->empty() &&
                !refs.FileRefExists(*value, engine.StartTests())) {
              ReportKey(engine, root, entry + sub.subKey, *value,
                        sub.description);
            }
          });
        }
        for (const KeySubCheck& sub : kKeys) {
          if (!wanted(sub.subKey)) continue;
          Guarded([&] {
            const auto value = reader.Read(entry, entry + sub.subKey + "\\");
            if (value && !KeyThereInView(engine.KeyTests, registry, refs.Folders().Wow, view,
                                         sub.targetPrefix + *value + "\\",
                                         engine.StartTests())) {
              ReportKey(engine, root, entry + sub.subKey, *value,
                        sub.description);
            }
          });
        }
      });
}

void CheckClasses(TRegistryCheckThread& engine, TFileReferences& refs,
                  TRootKey root, const std::string& basePath) {
  TRegistry& registry = engine.Registry;
  TClassValueReader reader(engine, refs);
  WalkClassKey(
      engine, root, basePath, "Examining Classes: ", TStatusName::AsListed,
      [&](const std::string& name) {
        // Extensions are the file-extension check's business; "*" holds the
        // verbs of every file type and names no class. Wow6432Node is no
        // class either but the 64-bit registry's view of the 32-bit classes:
        // its "CLSID" key has no default value, and reporting it would offer
        // every 32-bit class registration of the machine for deletion.
        if (name.empty() || name[0] == '.' || name == "*" ||
            NamesEqual(name, "Wow6432Node")) {
          return;
        }
        const std::string entry = basePath + name;
        // A class key both views share may name a class of either view.
        const TWowLayout layout = refs.Folders().Wow;
        const TRegView view = refs.ViewOfKey(root, entry);
        const TFileReferences::TViewScope fileView(refs, view);

        if (const auto clsid = reader.Read(entry, entry + "\\CLSID\\")) {
          TTestedList* tested = engine.StartTests();
          if (clsid->empty()) Note(tested, "CLSID value: empty");
          if (clsid->empty() ||
              !KeyThereInView(engine.KeyTests, registry, layout, view,
                              basePath + "CLSID\\" + *clsid + "\\", tested)) {
            ReportKey(engine, root, entry + "\\CLSID", *clsid,
                      "CLSID registry key does not exist");
          }
        }
        // An empty current version names the root itself, which exists.
        if (const auto curVer = reader.Read(entry, entry + "\\CurVer\\")) {
          if (!KeyThereInView(engine.KeyTests, registry, layout, view, basePath + *curVer + "\\",
                              engine.StartTests())) {
            ReportKey(engine, root, entry + "\\CurVer", *curVer,
                      "CurVer registry key does not exist");
          }
        }
        // A path with a placeholder ("%1", an environment variable) is
        // resolved only when the icon is shown.
        if (const auto icon =
                reader.Read(entry, entry + "\\DefaultIcon\\")) {
          const std::optional<std::string> path = IconPath(*icon);
          if (path && path->find('%') == std::string::npos &&
              !refs.FileRefExists(*path, engine.StartTests())) {
            ReportKey(engine, root, entry + "\\DefaultIcon", *icon,
                      "DefaultIcon file does not exists");
          }
        }
      });
}

void CheckTypeLibs(TRegistryCheckThread& engine, TFileReferences& refs,
                   TRootKey root, const std::string& basePath) {
  TRegistry& registry = engine.Registry;
  TClassValueReader reader(engine, refs);
  WalkClassKey(
      engine, root, basePath, "Examining TypeLibs: ", TStatusName::AsListed,
      [&](const std::string& name) {
        const std::string library = basePath + name;
        const TFileReferences::TViewScope fileView(
            refs, refs.ViewOfKey(root, library));
        std::vector<std::string> read;
        bool listedWhole = false;
        {
          TReadOnlyKey key(registry, library + "\\");
          if (!key.IsOpen()) return;
          listedWhole = registry.GetKeyNames(read);
        }
        // The interfaces look for the versions they name in this listing.
        const std::vector<std::string>& versions =
            listedWhole ? engine.KeyTests.NoteListing(registry, library + "\\",
                                                      std::move(read))
                        : read;
        // Once a Win32 file of the library is missing, its Win16 files and
        // help folders are not worth looking at, in any of its versions.
        bool win32Missing = false;
        // A library of one version goes as a whole; of several, only the
        // version at fault.
        const bool singleVersion = versions.size() < 2;
        for (const std::string& versionName : versions) {
          const std::string version = library + "\\" + versionName;
          std::vector<std::string> subKeys;
          {
            TReadOnlyKey key(registry, version + "\\");
            if (!key.IsOpen()) continue;
            subKeys = key.KeyNames();
          }
          const std::string reportedKey = singleVersion ? library : version;
          for (const std::string& subKey : subKeys) {
            const std::string locale = version + "\\" + subKey;
            if (const auto file = reader.Read(library, locale + "\\win32\\")) {
              if (!refs.FileRefExists(StripTypeLibIndex(*file),
                                      engine.StartTests())) {
                win32Missing = true;
                ReportKey(engine, root, reportedKey, *file,
                          singleVersion ? "Win32 file does not exist2"
                                        : "Win32 file does not exist1");
              }
            }
            if (win32Missing) continue;
            if (const auto file = reader.Read(library, locale + "\\win16\\")) {
              if (!refs.FileRefExists(StripTypeLibIndex(*file),
                                      engine.StartTests())) {
                ReportKey(engine, root, reportedKey, *file,
                          "Win16 file does not exist");
              }
            }
          }
          if (win32Missing) continue;
          if (const auto help = reader.Read(library, version + "\\HELPDIR\\")) {
            TTestedList* tested = engine.StartTests();
            if (help->empty()) Note(tested, "HELPDIR value: empty");
            if (help->empty() || !refs.FileOrFolderRefExists(*help, tested)) {
              ReportKey(engine, root, version + "\\HELPDIR", *help,
                        "HelpDir does not exist");
            }
          }
        }
      });
}

namespace {

// What an interface refers to must be registered, for the machine or for
// the user (under Software\Classes of HKEY_LOCAL_MACHINE or
// HKEY_CURRENT_USER, which Windows merges into HKEY_CLASSES_ROOT), and be
// visible in the root the check walks.
class TInterfaceTargets {
 public:
  TInterfaceTargets(TKeyTestCache& keys, TRegistry& registry, TRegistry& machine,
                    TRegistry& user, const std::string& basePath,
                    TWowLayout layout)
      : keys_(keys),
        registry_(registry),
        machine_(machine),
        user_(user),
        basePath_(basePath),
        layout_(layout) {}

  // The view of the interface whose targets are looked for next.
  void SetView(TRegView view) { view_ = view; }

  bool TypeLibMissing(const std::string& typeLib, const std::string& version,
                      TTestedList* tested) {
    if (Missing("TypeLib\\", "TypeLib\\", typeLib, tested)) return true;
    if (version.empty()) return false;
    const std::string library = "TypeLib\\" + typeLib + "\\" + version;
    // A "Version" of 1 is met by a version key "1" or "1.0".
    return !There(registry_, library + "\\", tested) &&
           !There(registry_, library + ".0\\", tested);
  }
  bool ClassMissing(const std::string& clsid, TTestedList* tested) {
    return Missing("CLSID\\", "CLSID\\", clsid, tested);
  }
  bool InterfaceMissing(const std::string& iid, TTestedList* tested) {
    return Missing("Interface\\", basePath_, iid, tested);
  }

 private:
  bool Missing(const std::string& classesFolder, const std::string& rootFolder,
               const std::string& name, TTestedList* tested) {
    const std::string registered = "Software\\Classes\\" + classesFolder + name;
    if (!There(machine_, registered, tested) &&
        !There(user_, registered, tested)) {
      return true;
    }
    if (name.empty()) {
      Note(tested, "value: empty");
      return true;
    }
    return !There(registry_, rootFolder + name + "\\", tested);
  }
  bool There(TRegistry& registry, const std::string& path, TTestedList* tested) {
    return KeyThereInView(keys_, registry, layout_, view_, path, tested);
  }

  TKeyTestCache& keys_;
  TRegistry& registry_;
  TRegistry& machine_;
  TRegistry& user_;
  const std::string& basePath_;
  TWowLayout layout_;
  TRegView view_ = TRegView::Own;
};

}  // namespace

void CheckInterfaces(TRegistryCheckThread& engine, TFileReferences& refs,
                     TRootKey root, const std::string& basePath) {
  TRegistry& registry = engine.Registry;
  const TWowLayout layout = refs.Folders().Wow;
  TClassValueReader reader(engine, refs);
  // Only ever asked whether keys exist; it opens none.
  TRegistry machine(registry.Store());
  machine.SetRootKey(TRootKey::LocalMachine);
  TRegistry user(registry.Store());
  user.SetRootKey(TRootKey::CurrentUser);
  TInterfaceTargets targets(engine.KeyTests, registry, machine, user, basePath,
                            layout);
  WalkClassKey(
      engine, root, basePath, "Examining Interfaces: ", TStatusName::AsListed,
      [&](const std::string& name) {
        const std::string entry = basePath + name;
        targets.SetView(ViewOfKey(layout, root, entry));
        const auto subKeys = reader.ListEntry(entry);
        const auto wanted = [&](const std::string& subKey) {
          return !subKeys || MayHave(*subKeys, subKey);
        };
        if (const auto typeLib =
                wanted("TypeLib")
                    ? reader.ReadValues(entry, entry + "\\TypeLib\\", {"", "Version"})
                    : std::nullopt) {
          const std::string& id = (*typeLib)[0];
          if (targets.TypeLibMissing(id, (*typeLib)[1], engine.StartTests())) {
            ReportKey(engine, root, entry + "\\TypeLib", id,
                      "TypeLib registry key does not exist");
          }
        }
        for (const char* proxy : {"ProxyStubClsid", "ProxyStubClsid32"}) {
          if (!wanted(proxy)) continue;
          const auto clsid = reader.Read(entry, entry + "\\" + proxy + "\\");
          if (clsid && targets.ClassMissing(*clsid, engine.StartTests())) {
            ReportKey(engine, root, entry + "\\" + proxy, *clsid,
                      std::string(proxy) + " registry key does not exist");
          }
        }
        const auto base = wanted("BaseInterface")
                              ? reader.Read(entry, entry + "\\BaseInterface\\")
                              : std::nullopt;
        if (base && targets.InterfaceMissing(*base, engine.StartTests())) {
          ReportKey(engine, root, entry + "\\BaseInterface", *base,
                    "BaseInterface key does not exist");
        }
      });
}

void CheckFileExtensions(TRegistryCheckThread& engine, TFileReferences& refs,
                         TRootKey root, const std::string& basePath) {
  TRegistry& registry = engine.Registry;
  const TWowLayout layout = refs.Folders().Wow;
  TClassValueReader reader(engine, refs);
  WalkClassKey(
      engine, root, basePath, "Examining file extensions: ",
      TStatusName::Trimmed, [&](const std::string& name) {
        const std::string extension = TrimText(name);
        if (extension.empty() || extension[0] != '.') return;
        const std::string entry = basePath + extension;
        const TRegView view = ViewOfKey(layout, root, entry);

        std::string progId;
        std::optional<std::string> contentType;
        {
          TReadOnlyKey key(registry, entry + "\\");
          if (!key.IsOpen()) return;
          progId = key.ReadDefault();
          contentType = key.ReadStringIfPresent("Content Type");
        }

        // When the class itself is gone the whole extension goes with it;
        // what else it names does not matter then.
        if (!progId.empty() &&
            !KeyThereInView(engine.KeyTests, registry, layout, view, basePath + progId + "\\",
                            engine.StartTests())) {
          ReportKey(engine, root, entry, progId,
                    "ProgId registry key does not exist");
          return;
        }
        if (contentType &&
            !KeyThereInView(engine.KeyTests, registry, layout, view,
                            basePath + "MIME\\Database\\Content type\\" +
                                *contentType + "\\",
                            engine.StartTests())) {
          engine.AddRegistryError(root, entry, "Content Type", *contentType,
                                  "Content Type registry key does not exist");
        }
        const auto handler =
            reader.Read(entry, entry + "\\PersistentHandler\\");
        TTestedList* tested = handler ? engine.StartTests() : nullptr;
        if (handler && TrimText(*handler).empty()) {
          Note(tested, "PersistentHandler value: empty");
        }
        if (handler && (TrimText(*handler).empty() ||
                        !KeyThereInView(engine.KeyTests, registry, layout, view,
                                        basePath + "CLSID\\" + *handler + "\\",
                                        tested))) {
          ReportKey(engine, root, entry + "\\PersistentHandler", *handler,
                    "PersistentHandler registry key does not exist");
        }
      });
}

}  // namespace tidewell
