// Turns registry texts that name files into file-system tests. The texts come
// in many shapes: full paths, quoted paths, paths followed by switches or
// argument placeholders, bare names that Windows finds in its own folders,
// paths with folder placeholders ("%SystemRoot%"), installer command lines,
// start-up commands run through rundll32, type libraries with a resource index.
//
// "Does not exist" is reported as false or the empty text; no routine reports
// an error of its own. Each test routine takes an optional list in which it
// records the paths it tried, in order, and the folders it searched. Every file test goes through the file-system seam with
// the Windows path rules (both separators, letter case and trailing blanks and
// dots of the last name ignored).
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/SystemEnvironment.h"
#include "registry/RegistryStore.h"
#include "scan/FileRefText.h"
#include "scan/FileTestCache.h"
#include "scan/FolderSet.h"
#include "scan/RegistryViews.h"
#include "scan/TestedList.h"

namespace tidewell {

class TFileReferences {
 public:
  // Everything given must outlive the object. `store` serves the installer
  // folders lookup, made through a registry object of the routine's own.
  TFileReferences(const TFolderSet& folders, TFileSystem& fileSystem,
                  TSystemEnvironment& environment, RegistryStore& store);

  const TFolderSet& Folders() const { return folders_; }

  // The view of the key whose texts are resolved (RegistryViews.h): while a
  // scope lives, every file test looks where a program of that view finds
  // the file. Outside any scope, the program's own view.
  class TViewScope {
   public:
    TViewScope(TFileReferences& refs, TRegView view)
        : refs_(refs), saved_(refs.view_) {
      refs_.view_ = view;
    }
    ~TViewScope() { refs_.view_ = saved_; }
    TViewScope(const TViewScope&) = delete;
    TViewScope& operator=(const TViewScope&) = delete;

   private:
    TFileReferences& refs_;
    TRegView saved_;
  };
  TRegView View() const { return view_; }
  // The view of the key at `path` below `root`, as this program sees it.
  TRegView ViewOfKey(TRootKey root, const std::string& path) const;
  // For the length of one scan: every file test is answered from the disk
  // once and then remembered (TFileTestCache), until the scan lets go of what
  // this returns. One scan at a time.
  std::shared_ptr<void> BeginScan();
  // For benchmarks: whether scans count the distinct paths they test (which
  // keeps every path), and what the last scan that ended tested.
  void CountDistinctPaths(bool count) { countDistinctPaths_ = count; }
  TFileTestCounts LastScanTests() const { return lastScanTests_; }

  // Drops a trailing ";", surrounding double quotes and a trailing backslash
  // (only from texts longer than one character) and replaces the folder
  // placeholders. Neither trims nor lower-cases.
  std::string NormalizeFileRef(const std::string& text) const;

  // Whether the text names an existing file, trying in turn the cleaned text
  // (also without a trailing ",index"), an installer product folder, a
  // command's quoted program (and the script or library a host runs), the
  // text before a "/" switch, before a " -" switch outside quotes, before an
  // argument placeholder, and for a bare name the folders Windows searches.
  bool FileRefExists(const std::string& text, TTestedList* tested = nullptr);
  // An existing folder, or else FileRefExists.
  bool FileOrFolderRefExists(const std::string& text, TTestedList* tested = nullptr);
  // A bare file name is looked for in each folder of the ";"-separated list
  // first; a name with a folder part is resolved by FileRefExists.
  bool FileExistsInPathList(const std::string& fileName,
                            const std::string& folderList, TTestedList* tested = nullptr);
  bool FontFileExists(const std::string& text, TTestedList* tested = nullptr);
  // Looked for below MediaPath first, then as given.
  bool SoundFileExists(const std::string& text, TTestedList* tested = nullptr);
  // A start-up command: the program, or for rundll32 (bare or with a folder,
  // quoted or not) the library it loads.
  bool CommandFileExists(const std::string& command, TTestedList* tested = nullptr);

  // The full path of the program a command line starts, found as given when
  // it holds a drive path, else through PATH, the system folder, the Windows
  // folder, the system drive's root and the running program's folder; empty
  // when nothing is found. `tested` gets the text or each folder searched,
  // not every leading part tried.
  std::string FindFileInSearchPath(const std::string& text, TTestedList* tested = nullptr);
  // The shortest leading part of the text that is an existing file, the text
  // first cut to start at its drive letter; empty when there is none.
  std::string FirstExistingPrefix(const std::string& text);

  // Every drive path in the text names an existing file or folder (a text
  // without one is taken as a single reference).
  bool AllPathsInTextExist(const std::string& text, TTestedList* tested = nullptr);
  // Cuts one reference out of a piece of text: before a double quote or "/",
  // then after the first known extension that ends a name. Appends the normalized reference to
  // `references` and returns the cut text, untrimmed.
  std::string ExtractFileRef(const std::string& piece,
                             std::vector<std::string>& references) const;

 private:
  std::string ReplacePlaceholders(const std::string& text, bool firstOnly) const;
  // AllPathsInTextExist without what the scan remembers.
  bool AllPathsInTextFound(const std::string& text, TTestedList* tested);
  // FileExists of `path` in the current view: each path tried goes to
  // `noteTried` (with whether it was found) when one is given.
  template <typename Note>
  bool FileInView(const std::string& path, Note&& noteTried);
  // FileExists and DirectoryExists, recorded when someone listens.
  bool FileThere(const std::string& path, TTestedList* tested);
  bool FolderThere(const std::string& path, TTestedList* tested);
  bool InstallerFolderExists(const std::string& productCode,
                             TTestedList* tested);
  bool CutCandidateExists(std::string& s, std::size_t marker,
                          TTestedList* tested);
  bool ArgumentPlaceholderStepExists(std::string& s, TTestedList* tested);
  bool BareNameExists(const std::string& name, TTestedList* tested);
  bool NamedFileExists(const std::string& text, bool program,
                       TTestedList* tested);
  // For a command with a quoted program or quoted arguments: whether what it
  // runs exists; nothing when the text is no such command or its unquoted
  // program was not found (the other steps then judge it).
  std::optional<bool> QuotedCommandExists(const std::string& text,
                                          TTestedList* tested);

  class TScanScope;

  const TFolderSet& folders_;
  TFileSystem& fileSystem_;
  TSystemEnvironment& environment_;
  RegistryStore& store_;
  TRegView view_ = TRegView::Own;
  // What file tests go to: the file system, or the cache of the scan.
  TFileSystem* tests_;
  // During a scan, the texts AllPathsInTextExist found, one set per view.
  using TFoundTexts = std::array<std::unordered_set<std::string>,
                                 static_cast<std::size_t>(TRegView::Both) + 1>;
  TFoundTexts* foundTexts_ = nullptr;
  bool countDistinctPaths_ = false;
  TFileTestCounts lastScanTests_;
};

}  // namespace tidewell
