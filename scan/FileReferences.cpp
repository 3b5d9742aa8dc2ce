#include "scan/FileReferences.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/CharKinds.h"
#include "platform/TextEncoding.h"
#include "registry/Registry.h"

namespace tidewell {
namespace {

constexpr std::string_view kInstallerFoldersKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders";

// Searched in this order; ".ax" last, as it also occurs inside ".axx" names
// that an earlier extension already cut.
constexpr std::array<std::string_view, 16> kKnownExtensions = {
    ".exe", ".com", ".bat", ".dll", ".isu", ".scr", ".log", ".inf",
    ".apl", ".ocx", ".ico", ".cpl", ".dpk", ".dpr", ".pas", ".dcl"};
constexpr std::string_view kLastKnownExtension = ".ax";

// No Windows name is longer than 255 UTF-16 units (765 UTF-8 bytes), and no
// path longer than 32767 units.
constexpr std::size_t kMaxNameBytes = 255 * 3;
constexpr std::size_t kMaxPathBytes = 32767 * 3;

bool Contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

// The four trimming rules of a file reference, each on the result of the one
// before and each only while something is left to look at.
std::string DropReferenceMarks(std::string s, bool dropSemicolon) {
  if (s.size() <= 1) return s;
  if (dropSemicolon && !s.empty() && s.back() == ';') s.pop_back();
  if (!s.empty() && s.front() == '"') s.erase(0, 1);
  if (!s.empty() && s.back() == '"') s.pop_back();
  if (!s.empty() && s.back() == '\\') s.pop_back();
  return s;
}

std::string TrimBlanksAndQuotes(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  const auto junk = [](char c) {
    return static_cast<unsigned char>(c) <= ' ' || c == '"';
  };
  while (begin < end && junk(text[begin])) ++begin;
  while (end > begin && junk(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string WithTrailingBackslash(const std::string& folder) {
  if (!folder.empty() && folder.back() == '\\') return folder;
  return folder + '\\';
}

// The position of a command-line switch: a blank and a minus sign (or two)
// before a letter ("app.exe -silent", "tool.exe --hidden"). A " -" before
// anything else, as in a folder "Foo - Bar", ends no file name.
std::size_t FindSwitchMarker(const std::string& s) {
  for (std::size_t at = s.find(" -"); at != std::string::npos;
       at = s.find(" -", at + 1)) {
    std::size_t next = at + 2;
    if (next < s.size() && s[next] == '-') ++next;
    if (next < s.size() && IsAsciiLetter(s[next])) return at;
  }
  return std::string::npos;
}

// Where `extension` first ends a name in `w`: the text ends right after it,
// or a blank, quote, comma, slash or semicolon follows. "site.community" or
// "my.axis" in a folder name holds an extension that ends nothing.
std::size_t FindExtensionEnd(const std::string& w, std::string_view extension) {
  for (std::size_t at = w.find(extension); at != std::string::npos;
       at = w.find(extension, at + 1)) {
    const std::size_t end = at + extension.size();
    if (end == w.size()) return end;
    const char next = w[end];
    if (static_cast<unsigned char>(next) <= ' ' || next == '"' ||
        next == ',' || IsPathSeparator(next) || next == ';') {
      return end;
    }
  }
  return std::string::npos;
}

// A command as Windows splits it: a quoted program ends at its closing quote
// (a quoted C:\App\app.exe, then "background"), and an unquoted program may
// be followed by quoted arguments (wscript.exe, then a quoted C:\s.vbs).
struct TCommandParts {
  std::string program;
  std::string arguments;
  bool programQuoted = false;
};

std::optional<TCommandParts> SplitQuotedCommand(const std::string& text) {
  if (text.empty()) return std::nullopt;
  if (text.front() == '"') {
    const std::size_t close = text.find('"', 1);
    if (close == std::string::npos) return std::nullopt;
    std::string arguments = TrimText(text.substr(close + 1));
    // A text that is nothing but a quoted path is no command.
    if (arguments.empty()) return std::nullopt;
    return TCommandParts{text.substr(1, close - 1), std::move(arguments), true};
  }
  const std::size_t quote = text.find('"');
  if (quote == std::string::npos || quote == 0 || text[quote - 1] != ' ') {
    return std::nullopt;
  }
  return TCommandParts{TrimText(text.substr(0, quote)), text.substr(quote),
                       false};
}

// Programs that run a file named by their first argument: the command works
// only while that file exists too.
enum class THost { None, Script, Library };

THost HostOf(const std::string& program) {
  const std::size_t nameStart = program.find_last_of("\\/:");
  std::string name = LowerAscii(
      nameStart == std::string::npos ? program : program.substr(nameStart + 1));
  if (name.size() > 4 && name.compare(name.size() - 4, 4, ".exe") == 0) {
    name.erase(name.size() - 4);
  }
  if (name == "wscript" || name == "cscript") return THost::Script;
  if (name == "rundll32") return THost::Library;
  return THost::None;
}

// The file a host runs: its first argument after the script host's own
// "//" options, between quotes, or else up to a blank (for rundll32 up to
// the comma before the entry point).
std::string HostedFile(THost host, const std::string& arguments) {
  std::string rest = TrimText(arguments);
  while (host == THost::Script && rest.compare(0, 2, "//") == 0) {
    const std::size_t blank = rest.find(' ');
    rest = blank == std::string::npos ? std::string()
                                      : TrimText(rest.substr(blank));
  }
  if (!rest.empty() && rest.front() == '"') {
    const std::size_t close = rest.find('"', 1);
    return rest.substr(1, close == std::string::npos ? std::string::npos
                                                     : close - 1);
  }
  return TrimText(rest.substr(0, rest.find(host == THost::Library ? ',' : ' ')));
}

}  // namespace

TFileReferences::TFileReferences(const TFolderSet& folders,
                                 TFileSystem& fileSystem,
                                 TSystemEnvironment& environment,
                                 RegistryStore& store)
    : folders_(folders),
      fileSystem_(fileSystem),
      environment_(environment),
      store_(store),
      tests_(&fileSystem) {}

// Undoes BeginScan when the scan lets go of it.
class TFileReferences::TScanScope {
 public:
  TScanScope(TFileReferences& refs, std::unique_ptr<TFileTestCache> cache)
      : refs_(refs), cache_(std::move(cache)) {
    refs_.tests_ = cache_.get();
    refs_.foundTexts_ = &foundTexts_;
  }
  ~TScanScope() {
    refs_.lastScanTests_ = cache_->Counts();
    refs_.tests_ = &refs_.fileSystem_;
    refs_.foundTexts_ = nullptr;
  }
  TScanScope(const TScanScope&) = delete;
  TScanScope& operator=(const TScanScope&) = delete;

 private:
  TFileReferences& refs_;
  const std::unique_ptr<TFileTestCache> cache_;
  TFoundTexts foundTexts_;
};

std::shared_ptr<void> TFileReferences::BeginScan() {
  return std::make_shared<TScanScope>(
      *this, std::make_unique<TFileTestCache>(fileSystem_, countDistinctPaths_));
}

std::string TFileReferences::ReplacePlaceholders(const std::string& text,
                                                 bool firstOnly) const {
  std::string s = ReplaceIgnoringCase(text, "%systemroot%",
                                      folders_.WindowsFolder, firstOnly);
  s = ReplaceIgnoringCase(s, "%programfiles%", folders_.ProgramFilesFolder,
                          firstOnly);
  return ReplaceIgnoringCase(s, "%commonprogramfiles%",
                             folders_.CommonFilesFolder, firstOnly);
}

std::string TFileReferences::NormalizeFileRef(const std::string& text) const {
  if (text.empty()) return text;
  return ReplacePlaceholders(DropReferenceMarks(text, true), false);
}

TRegView TFileReferences::ViewOfKey(TRootKey root,
                                    const std::string& path) const {
  return tidewell::ViewOfKey(folders_.Wow, root, path);
}

template <typename Note>
bool TFileReferences::FileInView(const std::string& path, Note&& noteTried) {
  if (view_ == TRegView::Own) {
    const bool found = tests_->FileExists(path);
    noteTried(path, found);
    return found;
  }
  for (const std::string& tried : PathsInView(folders_, view_, path)) {
    const bool found = tests_->FileExists(tried);
    noteTried(tried, found);
    if (found) return true;
  }
  return false;
}

bool TFileReferences::FileThere(const std::string& path, TTestedList* tested) {
  return FileInView(path, [tested](const std::string& tried, bool found) {
    if (tested != nullptr) tested->File(tried, found);
  });
}

bool TFileReferences::FolderThere(const std::string& path,
                                  TTestedList* tested) {
  for (const std::string& tried : view_ == TRegView::Own
                                      ? std::vector<std::string>{path}
                                      : PathsInView(folders_, view_, path)) {
    const bool found = tests_->DirectoryExists(tried);
    if (tested != nullptr) tested->Folder(tried, found);
    if (found) return true;
  }
  return false;
}

bool TFileReferences::InstallerFolderExists(const std::string& productCode,
                                            TTestedList* tested) {
  if (productCode.empty()) return false;
  try {
    TRegistry registry(store_);
    registry.SetRootKey(TRootKey::LocalMachine);
    if (!registry.OpenKeyReadOnly(std::string(kInstallerFoldersKey))) {
      return false;
    }
    std::vector<std::string> folders;
    registry.GetValueNames(folders);
    registry.CloseKey();
    for (const std::string& folder : folders) {
      if (Contains(folder, productCode) && FolderThere(folder, tested)) {
        return true;
      }
    }
    if (tested != nullptr) {
      tested->Add("installer folders of " + productCode + ": none exists");
    }
  } catch (...) {
    // The installer lookup is a bonus; a registry that refuses it only means
    // that nothing was found there.
  }
  return false;
}

// Tests the file named by the text before a switch or argument marker: its
// folder and name with blanks and quotes cut away, and ".exe" added to a name
// without extension, as Windows adds it when it starts a command. The
// candidate replaces the working text for the steps that follow.
bool TFileReferences::CutCandidateExists(std::string& s, std::size_t marker,
                                         TTestedList* tested) {
  const std::string program = TrimBlanksAndQuotes(s.substr(0, marker));
  const std::string folder = FolderPart(program);
  std::string name = TrimBlanksAndQuotes(program.substr(folder.size()));
  if (!name.empty() && name.find('.') == std::string::npos) name += ".exe";
  s = folder + name;
  return FileThere(s, tested);
}

// Environment variables ("%windir%", "%SystemDrive%") are expanded first; a
// "%" that is left is an argument placeholder ("%1", "%L") and ends the file
// name.
bool TFileReferences::ArgumentPlaceholderStepExists(std::string& s,
                                                    TTestedList* tested) {
  const std::string expanded = environment_.ExpandEnvironmentText(s);
  const std::size_t marker = expanded.find('%');
  if (marker != std::string::npos) {
    s = expanded;
    return CutCandidateExists(s, marker, tested);
  }
  s = TrimBlanksAndQuotes(expanded);
  return FileThere(s, tested);
}

// A file named exactly, as a command names its program: folder placeholders
// and environment variables expanded, a bare name searched in the folders
// Windows searches, and for a program ".exe" added to a name without an
// extension, as Windows adds it.
bool TFileReferences::NamedFileExists(const std::string& text, bool program,
                                      TTestedList* tested) {
  std::string path = TrimText(ReplacePlaceholders(text, false));
  if (path.find('%') != std::string::npos) {
    path = environment_.ExpandEnvironmentText(path);
  }
  if (path.empty()) return false;
  std::vector<std::string> candidates = {path};
  if (program && path.find('.', FolderPart(path).size()) == std::string::npos) {
    candidates.push_back(path + ".exe");
  }
  for (const std::string& candidate : candidates) {
    if (FileThere(candidate, tested)) return true;
    if (!HasFolderPart(candidate) && BareNameExists(candidate, tested)) {
      return true;
    }
  }
  return false;
}

std::optional<bool> TFileReferences::QuotedCommandExists(
    const std::string& text, TTestedList* tested) {
  const std::optional<TCommandParts> command = SplitQuotedCommand(text);
  if (!command) return std::nullopt;
  // A quoted program is exactly what Windows starts; an unquoted one before
  // quoted arguments may still hold blanks and switches, so only finding it
  // settles the matter.
  if (!NamedFileExists(command->program, true, tested)) {
    if (command->programQuoted) return false;
    return std::nullopt;
  }
  const THost host = HostOf(command->program);
  if (host == THost::None) return true;
  // A host given nothing to run runs nothing; an argument placeholder
  // ("%1") names the file only when the command runs.
  const std::string file = HostedFile(host, command->arguments);
  if (file.empty()) return false;
  const std::string expanded =
      environment_.ExpandEnvironmentText(ReplacePlaceholders(file, false));
  return expanded.find('%') != std::string::npos ||
         NamedFileExists(file, false, tested);
}

bool TFileReferences::BareNameExists(const std::string& name,
                                     TTestedList* tested) {
  const TFolderSet& f = folders_;
  const std::array<std::pair<const std::string*, std::string_view>, 10>
      candidates = {{
          {&f.SystemFolder, "/"},
          {&f.WindowsFolder, "\\System32\\"},
          {&f.WindowsFolder, "/"},
          {&f.WindowsFolder, "\\Fonts\\"},
          {&f.MediaPath, "\\"},
          {&f.WindowsFolder, "\\Inf\\"},
          {&f.CommonFilesFolder, "\\Borland Shared\\BDE\\"},
          {&f.WindowsFolder, "\\System\\"},
          {&f.SystemFolder, "\\"},
          {&f.FontsFolder, "\\"},
      }};
  // A folder the system did not report gives no candidate: "\name" would
  // name the root of whatever drive is current.
  // What is noted is the folder of each path tried.
  const auto noteFolder = [tested, &name](const std::string& tried, bool found) {
    if (tested != nullptr) {
      tested->Searched(tried.substr(0, tried.size() - name.size() - 1), found);
    }
  };
  for (const auto& [folder, joint] : candidates) {
    if (folder->empty()) continue;
    if (FileInView(*folder + std::string(joint) + name, noteFolder)) return true;
  }
  for (std::string folder : f.PathFolders) {
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    if (folder.empty()) continue;
    if (FileInView(folder + '\\' + name, noteFolder)) return true;
  }
  return false;
}

bool TFileReferences::FileRefExists(const std::string& text,
                                    TTestedList* tested) {
  std::string command = TrimText(LowerAscii(text));
  std::string s = DropReferenceMarks(command, true);
  if (command.size() > 1 && command.back() == ';') command.pop_back();
  const bool quoted = !command.empty() && command.front() == '"';
  if (s.empty()) return false;
  s = ReplacePlaceholders(s, false);
  if (FileThere(s, tested)) return true;
  // "shell32.dll,-21787", "http.sys,3": an icon or resource index.
  s = StripResourceIndex(s);
  if (FileThere(s, tested)) return true;

  // An installer command line: "msiexec /i{product-code}" is valid while the
  // product's folder is registered and exists. A "/i" without a product code
  // after it is an ordinary switch and is left to the steps below.
  const std::size_t installer = s.find("/i");
  const std::size_t codeEnd = s.find('}');
  const bool installerLine = installer != std::string::npos &&
                             codeEnd != std::string::npos &&
                             codeEnd >= installer + 2;
  if (!installerLine) {
    if (const std::optional<bool> known = QuotedCommandExists(command, tested)) {
      return *known;
    }
  } else {
    s = s.substr(installer + 2, codeEnd - installer - 1);
    if (InstallerFolderExists(s, tested)) return true;
  }

  const std::size_t slash = s.find('/');
  if (slash != std::string::npos) {
    s = s.substr(0, slash);
    if (FileThere(s, tested)) return true;
  }

  // Inside a path in quotes a " -" is part of a name.
  const std::size_t dashSwitch =
      quoted ? std::string::npos : FindSwitchMarker(s);
  if (dashSwitch != std::string::npos &&
      CutCandidateExists(s, dashSwitch, tested)) {
    return true;
  }
  if (Contains(s, "%") && ArgumentPlaceholderStepExists(s, tested)) return true;

  s = TrimText(s);
  if (s.empty()) return false;
  if (FileThere(s, tested)) return true;
  return !HasFolderPart(s) && BareNameExists(s, tested);
}

bool TFileReferences::FileOrFolderRefExists(const std::string& text,
                                            TTestedList* tested) {
  std::string s = DropReferenceMarks(TrimText(LowerAscii(text)), false);
  s = ReplacePlaceholders(s, true);
  s = LowerAscii(s);
  return FolderThere(s, tested) || FileRefExists(s, tested);
}

bool TFileReferences::FileExistsInPathList(const std::string& fileName,
                                           const std::string& folderList,
                                           TTestedList* tested) {
  if (HasFolderPart(fileName)) return FileRefExists(fileName, tested);
  for (const std::string& line : SplitFolderList(folderList)) {
    std::string folder = TrimText(line);
    if (!folder.empty() && folder.front() == '"') folder.erase(0, 1);
    if (!folder.empty() && folder.back() == '"') folder.pop_back();
    // A line that was nothing but quotes names no folder (it would otherwise
    // become the root of the current drive).
    if (folder.empty()) continue;
    const std::string path = WithTrailingBackslash(folder) + fileName;
    const bool found = FileInView(
        path, [tested, &fileName, &folder, &path](const std::string& tried,
                                                   bool there) {
          if (tested == nullptr) return;
          tested->Searched(tried == path ? folder
                                         : tried.substr(0, tried.size() -
                                                               fileName.size() - 1),
                           there);
        });
    if (found) return true;
  }
  return FileRefExists(fileName, tested);
}

bool TFileReferences::FontFileExists(const std::string& text,
                                     TTestedList* tested) {
  if (FileRefExists(text, tested)) return true;
  return !HasFolderPart(text) && !folders_.FontsFolder.empty() &&
         FileThere(folders_.FontsFolder + '\\' + text, tested);
}

bool TFileReferences::SoundFileExists(const std::string& text,
                                      TTestedList* tested) {
  if (!folders_.MediaPath.empty() &&
      FileRefExists(folders_.MediaPath + '\\' + text, tested)) {
    return true;
  }
  return FileRefExists(text, tested);
}

bool TFileReferences::CommandFileExists(const std::string& command,
                                        TTestedList* tested) {
  std::string s = TrimText(command);
  if (s.empty()) return false;
  if (const std::optional<bool> known =
          QuotedCommandExists(LowerAscii(s), tested)) {
    return *known;
  }
  if (s.front() == '"') s.erase(0, 1);
  if (!s.empty() && s.back() == '"') s.pop_back();
  const std::size_t comma = s.find(',');
  if (comma != std::string::npos) s = TrimText(s.substr(0, comma));
  const std::size_t slash = s.find('/');
  if (slash != std::string::npos) s = TrimText(s.substr(0, slash));

  // rundll32 runs the library named after it; the library decides, whether
  // the program is written bare ("rundll32.exe x.dll") or with its folder
  // ("C:\Windows\System32\rundll32.exe" x.dll). The program's own quote, if
  // any, is still there after it.
  const std::string lower = LowerAscii(s);
  for (std::size_t at = lower.find("rundll32"); at != std::string::npos;
       at = lower.find("rundll32", at + 1)) {
    const std::string folder = s.substr(0, at);
    const bool programStartsText =
        folder.empty() ||
        ((IsPathSeparator(folder.back()) || folder.back() == ':') &&
         folder.find('"') == std::string::npos);
    std::size_t end = at + 8;
    if (lower.compare(end, 4, ".exe") == 0) end += 4;
    const bool programEnds =
        end < lower.size() && (lower[end] == ' ' || lower[end] == '"');
    if (programStartsText && programEnds) {
      s = TrimText(s.substr(end + (lower[end] == '"' ? 1 : 0)));
      break;
    }
  }
  return FileRefExists(s, tested);
}

std::string TFileReferences::FirstExistingPrefix(const std::string& text) {
  std::string t = text;
  const std::size_t mark = FindDriveMark(t);
  if (mark != std::string::npos && mark >= 1) t.erase(0, mark - 1);

  // One file test per leading length, as the search needs; lengths inside a
  // folder that does not exist, inside a name too long for Windows, or
  // beyond the longest Windows path cannot name a file and are passed over.
  // Below a missing folder every deeper folder is missing too, unless ".."
  // climbs back out of it.
  const std::size_t longest = std::min(t.size(), kMaxPathBytes);
  std::size_t nameStart = 0;
  bool folderExists = true;
  for (std::size_t length = 1; length <= longest; ++length) {
    if (IsPathSeparator(t[length - 1])) {
      const std::string_view name(t.data() + nameStart, length - 1 - nameStart);
      if (folderExists || name == "..") {
        folderExists = tests_->DirectoryExists(t.substr(0, length));
      }
      nameStart = length;
      continue;
    }
    if (!folderExists || length - nameStart > kMaxNameBytes) continue;
    const std::string prefix = t.substr(0, length);
    if (tests_->FileExists(prefix)) return prefix;
  }
  return std::string();
}

std::string TFileReferences::FindFileInSearchPath(const std::string& rawText,
                                                  TTestedList* tested) {
  // Windows expands placeholders such as "%ProgramFiles%" when it runs the
  // command; left unexpanded, every such uninstall entry would look missing
  // and be offered for deletion.
  const std::string text = rawText.find('%') == std::string::npos
                               ? rawText
                               : environment_.ExpandEnvironmentText(rawText);
  if (FindDriveMark(text) != std::string::npos) {
    std::string found = FirstExistingPrefix(text);
    if (tested != nullptr) {
      tested->Add("file " + text +
                  (found.empty() ? ": no leading part is a file" : ": found"));
    }
    return found;
  }

  std::vector<std::string> folders;
  for (const std::string& entry :
       SplitFolderList(environment_.EnvironmentVariable("PATH"))) {
    // Windows accepts a PATH entry in double quotes.
    std::string folder = entry;
    if (folder.size() >= 2 && folder.front() == '"' && folder.back() == '"') {
      folder = folder.substr(1, folder.size() - 2);
    }
    folders.push_back(folder);
  }
  // The system folder, then after the Windows folder the root of the system
  // drive: where Windows itself looks for the programs that uninstall
  // commands run (msiexec, rundll32, regsvr32).
  folders.push_back(folders_.SystemFolder);
  folders.push_back(folders_.WindowsFolder);
  const std::size_t systemMark = FindDriveMark(folders_.SystemFolder);
  if (systemMark != std::string::npos) {
    folders.push_back(folders_.SystemFolder.substr(0, systemMark + 2));
  }
  folders.push_back(FolderPart(environment_.ProgramFileName()));

  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    const std::string candidate =
        FirstExistingPrefix(WithTrailingBackslash(folder) + text);
    const bool found = !candidate.empty() && tests_->FileExists(candidate);
    if (tested != nullptr) tested->Searched(folder, found);
    if (found) return candidate;
  }
  return std::string();
}

std::string TFileReferences::ExtractFileRef(
    const std::string& piece, std::vector<std::string>& references) const {
  std::string w = piece;
  const std::size_t quote = w.find('"');
  if (quote != std::string::npos) w.erase(quote);
  const std::size_t slash = w.find('/');
  if (slash != std::string::npos) w.erase(slash);
  for (const std::string_view extension : kKnownExtensions) {
    const std::size_t end = FindExtensionEnd(w, extension);
    if (end != std::string::npos) w.erase(end);
  }
  const std::size_t axEnd = FindExtensionEnd(w, kLastKnownExtension);
  if (axEnd != std::string::npos) w.erase(axEnd);
  references.push_back(NormalizeFileRef(TrimText(w)));
  return w;
}

bool TFileReferences::AllPathsInTextExist(const std::string& text,
                                          TTestedList* tested) {
  // A machine names the same files in thousands of values, and within a scan
  // the file tests behind a text would all be answered as before: a text
  // found once is found again. Only found texts are kept, so a text that is
  // reported has its tests made and noted afresh for its record.
  std::unordered_set<std::string>* found =
      foundTexts_ ? &(*foundTexts_)[static_cast<std::size_t>(view_)] : nullptr;
  if (found && found->count(text)) return true;
  if (!AllPathsInTextFound(text, tested)) return false;
  if (found) found->insert(text);
  return true;
}

bool TFileReferences::AllPathsInTextFound(const std::string& text,
                                          TTestedList* tested) {
  std::string s = NormalizeFileRef(DowncaseUtf8(TrimText(text)));
  std::vector<std::string> references;
  std::size_t mark = FindDriveMark(s);
  if (mark == std::string::npos) {
    ExtractFileRef(s, references);
  }
  // Each pass takes one drive path off the text, so the text gets shorter
  // every time: when the cut reference is empty or not found, the piece
  // itself is taken off instead.
  while (mark != std::string::npos) {
    const std::size_t start = mark > 0 ? mark - 1 : 0;
    const std::size_t next = FindDriveMark(s, mark + 2);
    const std::size_t end =
        next == std::string::npos ? s.size() : std::max(next - 1, start + 1);
    const std::string piece = s.substr(start, end - start);
    const std::string cut = ExtractFileRef(piece, references);
    const std::size_t before = s.size();
    if (!cut.empty()) s = ReplaceIgnoringCase(s, cut, "");
    if (s.size() == before) s.erase(start, piece.size());
    s = TrimText(s);
    mark = FindDriveMark(s);
  }
  for (const std::string& reference : references) {
    if (!FileRefExists(reference, tested) && !FolderThere(reference, tested)) {
      return false;
    }
  }
  return true;
}

}  // namespace tidewell
