#include "undo/Undos.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "platform/TextEncoding.h"
#include "undo/RegEditNotation.h"
#include "undo/UndoFileParser.h"
#include "undo/UndoFolder.h"

namespace tidewell {
namespace {

// Thrown inside an export when part of the entry cannot be recorded; the
// export then drops the whole entry.
struct IncompleteRecord {};

constexpr const char* kLineEnd = "\r\n";

std::string WithoutLeadingBackslash(const std::string& path) {
  return !path.empty() && path.front() == '\\' ? path.substr(1) : path;
}

std::string SectionLine(TRootKey root, const std::string& path) {
  return "[" + RootKeyName(root) + "\\" + path + "]";
}

// "@" for the default value where the whole-key form allows it, otherwise the
// escaped name between double quotes.
std::string NameNotation(const std::string& name, bool defaultAllowed) {
  if (name.empty() && defaultAllowed) return "@";
  return "\"" + EscapeRegEditText(name) + "\"";
}

std::u16string Utf16Units(const std::vector<std::uint8_t>& data) {
  std::u16string units(data.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  return units;
}

// True when REG_SZ data is one line of text with exactly one terminating
// zero: only then does the quoted form give back the very same bytes.
bool IsPlainStringData(const std::vector<std::uint8_t>& data,
                       std::string& text) {
  if (data.size() < 2 || data.size() % 2 != 0) return false;
  std::u16string units = Utf16Units(data);
  if (units.back() != u'\0') return false;
  units.pop_back();
  for (char16_t c : units) {
    if (c == u'\0' || c == u'\r' || c == u'\n') return false;
  }
  text = Utf16ToUtf8(units);
  return true;
}

// The bytes REGEDIT4 holds for string types in hex form: the UTF-16 text,
// terminating zeros included, in the ANSI code page.
std::vector<std::uint8_t> AnsiStringBytes(TAnsiCodePage& codePage,
                                          const std::vector<std::uint8_t>& data) {
  if (data.size() % 2 != 0) throw IncompleteRecord{};
  std::string bytes;
  if (!codePage.FromUtf8(Utf16ToUtf8(Utf16Units(data)), bytes)) {
    throw IncompleteRecord{};
  }
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

std::size_t FileWidth(TAnsiCodePage& codePage, const std::string& text) {
  std::string bytes;
  if (!codePage.FromUtf8(text, bytes)) throw IncompleteRecord{};
  return bytes.size();
}

void AppendValueLines(TAnsiCodePage& codePage, const std::string& name,
                      std::uint32_t type, const std::vector<std::uint8_t>& data,
                      std::vector<std::string>& out) {
  std::vector<std::uint8_t> hexBytes = data;
  switch (type) {
    case regtype::String: {
      std::string text;
      if (IsPlainStringData(data, text)) {
        out.push_back(name + "=\"" + EscapeRegEditText(text) + "\"");
        return;
      }
      hexBytes = AnsiStringBytes(codePage, data);
      break;
    }
    case regtype::ExpandString:
    case regtype::MultiString:
      hexBytes = AnsiStringBytes(codePage, data);
      break;
    case regtype::Dword:
      if (data.size() == 4) {
        const std::uint32_t value =
            data[0] | (data[1] << 8) | (data[2] << 16) |
            (static_cast<std::uint32_t>(data[3]) << 24);
        out.push_back(name + "=" + DwordNotation(value));
        return;
      }
      break;
    default:
      break;
  }
  const std::string head = name + "=" + HexNotationTag(type);
  for (std::string& line :
       HexNotationLines(head, FileWidth(codePage, head), hexBytes)) {
    out.push_back(std::move(line));
  }
}

// Reads one value of the open key. False when it has gone since it was
// listed; throws IncompleteRecord when it is there but cannot be read.
bool ReadValue(TRegistry& registry, const std::string& name,
               std::uint32_t& type, std::vector<std::uint8_t>& data) {
  const long result =
      registry.Store().QueryValue(registry.CurrentKey(), name, &type, &data);
  if (result == regerr::Success) return true;
  if (result == regerr::FileNotFound) return false;
  throw IncompleteRecord{};
}

// The registry object's enumerations stop quietly at the first error; the
// counts the key reports tell a finished list from a broken one.
KeyInfo OpenKeyInfo(TRegistry& registry) {
  KeyInfo info;
  if (registry.Store().QueryInfoKey(registry.CurrentKey(), &info) !=
      regerr::Success) {
    throw IncompleteRecord{};
  }
  return info;
}

// The notation has no way to carry a line break in a key or value name: such
// a name would come back as another name (or the key's values in its parent),
// so a record holding one is refused and the entry is not deleted.
void RequireOneLineName(const std::string& name) {
  if (name.find_first_of("\r\n") != std::string::npos) throw IncompleteRecord{};
}

// The key path with its last name as the registry holds it. The caller may
// spell it in another letter case (a scan matches names as the registry
// does, without regard to case), and a restore creates the key in the
// recorded spelling. Subkeys need no such care: their names come from
// enumeration already; and the keys above exist when the entry is restored.
std::string StoredSpelling(TRegistry& registry, const std::string& path) {
  const std::size_t slash = path.find_last_of('\\');
  const std::string parent = slash == std::string::npos ? "" : path.substr(0, slash);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string stored = path;
  if (registry.OpenKeyReadOnly("\\" + parent)) {
    std::string found;
    for (std::uint32_t i = 0;
         registry.Store().EnumKey(registry.CurrentKey(), i, &found) == regerr::Success;
         ++i) {
      if (NamesEqual(found, name)) {
        stored = parent.empty() ? found : parent + "\\" + found;
        break;
      }
    }
  }
  registry.CloseKey();
  return stored;
}

// Appends the whole-key form of one key and, depth first, of its subkeys.
// False when the key does not exist or cannot be opened for reading; a
// subkey in that state is an incomplete record unless it has simply gone.
bool AppendKeyTree(TRegistry& registry, TAnsiCodePage& codePage,
                   TRootKey root, const std::string& keyPath, bool isSubKey,
                   std::vector<std::string>& out) {
  registry.CloseKey();
  registry.SetRootKey(root);
  std::string path = WithoutLeadingBackslash(keyPath);
  RequireOneLineName(path);
  if (!registry.KeyExists(path)) return false;
  if (!isSubKey) path = StoredSpelling(registry, path);
  if (!registry.OpenKeyReadOnly(path)) {
    if (isSubKey) throw IncompleteRecord{};
    return false;
  }
  out.push_back("");
  out.push_back(SectionLine(root, path));

  const KeyInfo info = OpenKeyInfo(registry);
  std::vector<std::string> names;
  registry.GetValueNames(names);
  if (names.size() < info.valueCount) throw IncompleteRecord{};
  for (const std::string& name : names) {
    RequireOneLineName(name);
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    if (!ReadValue(registry, name, type, data)) continue;
    AppendValueLines(codePage, NameNotation(name, true), type, data, out);
  }

  std::vector<std::string> subKeys;
  registry.GetKeyNames(subKeys);
  if (subKeys.size() < info.subKeyCount) throw IncompleteRecord{};
  registry.CloseKey();
  for (const std::string& subKey : subKeys) {
    AppendKeyTree(registry, codePage, root, path + "\\" + subKey, true, out);
  }
  registry.CloseKey();
  return true;
}

bool AppendOneValue(TRegistry& registry, TAnsiCodePage& codePage,
                    TRootKey root, const std::string& keyPath,
                    const std::string& valueName,
                    std::vector<std::string>& out) {
  registry.CloseKey();
  registry.SetRootKey(root);
  const std::string path = WithoutLeadingBackslash(keyPath);
  RequireOneLineName(path);
  RequireOneLineName(valueName);
  if (!registry.KeyExists(path) || !registry.OpenKeyReadOnly(path)) {
    return false;
  }
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  if (!ReadValue(registry, valueName, type, data)) {
    registry.CloseKey();
    return false;
  }
  out.push_back("");
  out.push_back(SectionLine(root, path));
  AppendValueLines(codePage, NameNotation(valueName, false), type, data, out);
  registry.CloseKey();
  return true;
}

// Every line must reach the file as it stands in Lines.
void RequireAnsiLines(TAnsiCodePage& codePage,
                      const std::vector<std::string>& lines) {
  for (const std::string& line : lines) FileWidth(codePage, line);
}

// Runs one export into a scratch list and moves it onto `lines` only when it
// is complete, so that a failed export leaves no trace.
template <typename Export>
bool AppendEntry(TRegistry& registry, TAnsiCodePage& codePage,
                 std::vector<std::string>& lines, Export exportEntry) {
  std::vector<std::string> entry;
  bool recorded = false;
  try {
    recorded = exportEntry(entry);
    RequireAnsiLines(codePage, entry);
  } catch (const IncompleteRecord&) {
    recorded = false;
  } catch (const ERegistryException&) {
    recorded = false;
  }
  registry.CloseKey();
  if (!recorded) return false;
  lines.insert(lines.end(), std::make_move_iterator(entry.begin()),
               std::make_move_iterator(entry.end()));
  return true;
}

}  // namespace

std::string TimeStampFileName(const TLocalDateTime& when) {
  char name[64];
  std::snprintf(name, sizeof name, "%d%.2d%.2d%.2d%.2d%.2d.reg", when.Year,
                when.Month, when.Day, when.Hour, when.Minute, when.Second);
  return name;
}

TRegUndoFile::TRegUndoFile(RegistryStore& store, TFileSystem& fileSystem,
                           TClock& clock, TAnsiCodePage& codePage,
                           std::string applicationFolder,
                           std::string productName)
    : registry_(store),
      fileSystem_(fileSystem),
      clock_(clock),
      codePage_(codePage),
      applicationFolder_(std::move(applicationFolder)),
      productName_(std::move(productName)) {}

TRegUndoFile::~TRegUndoFile() = default;

bool TRegUndoFile::AddEntry(TRootKey root, const std::string& keyPath,
                            const std::string& valueName) {
  if (fileName_.empty()) StartUndoFile();
  const std::size_t before = lines_.size();
  const bool recorded = valueName.empty()
                            ? ExportKey(root, keyPath)
                            : ExportValue(root, keyPath, valueName);
  if (!recorded) return false;
  try {
    WriteText(lines_, before, fileName_);
  } catch (...) {
    // An abandoned file took its lines with it.
    if (!fileName_.empty()) lines_.resize(before);
    throw;
  }
  return true;
}

void TRegUndoFile::Flush() {
  if (file_ && !file_->Flush()) {
    throw EUndoFileError("Can not flush the undo file " + fileName_);
  }
}

bool TRegUndoFile::ExportKey(TRootKey root, const std::string& keyPath) {
  return AppendEntry(registry_, codePage_, lines_,
                     [&](std::vector<std::string>& out) {
                       return AppendKeyTree(registry_, codePage_, root,
                                            keyPath, false, out);
                     });
}

bool TRegUndoFile::ExportValue(TRootKey root, const std::string& keyPath,
                               const std::string& valueName) {
  return AppendEntry(registry_, codePage_, lines_,
                     [&](std::vector<std::string>& out) {
                       return AppendOneValue(registry_, codePage_, root,
                                             keyPath, valueName, out);
                     });
}

std::string TRegUndoFile::TimeStampFileName() {
  return tidewell::TimeStampFileName(clock_.Now());
}

void TRegUndoFile::StartUndoFile() {
  const std::string folder = UndoFolderOf(applicationFolder_);
  if (!fileSystem_.DirectoryExists(folder) &&
      !fileSystem_.ForceDirectories(folder)) {
    throw EUndoFileError("Can not create the undo folder " + folder);
  }
  const std::string stamp = TimeStampFileName();
  std::string fileName = folder + "\\" + stamp;
  for (int n = 2; std::find(abandoned_.begin(), abandoned_.end(), fileName) !=
                  abandoned_.end();
       ++n) {
    fileName = folder + "\\" + stamp.substr(0, stamp.size() - 4) + "-" +
               std::to_string(n) + ".reg";
  }
  OpenUndoFile(fileName);
}

void TRegUndoFile::OpenUndoFile(const std::string& fileName) {
  if (fileSystem_.FileExists(fileName)) {
    std::string bytes;
    if (!fileSystem_.ReadWholeFile(fileName, bytes)) {
      throw EUndoFileError("Can not read the undo file " + fileName);
    }
    std::unique_ptr<TWritableFile> file = fileSystem_.OpenForAppend(fileName);
    if (!file) throw EUndoFileError("Can not open the undo file " + fileName);
    lines_ = SplitUndoFileLines(codePage_.ToUtf8(bytes));
    file_ = std::move(file);
    fileName_ = fileName;
    fileSize_ = bytes.size();
    return;
  }

  std::unique_ptr<TWritableFile> file =
      fileSystem_.CreateNewFile(fileName, /*exclusive=*/true);
  if (!file) throw EUndoFileError("Can not create the undo file " + fileName);
  const TLocalDateTime now = clock_.Now();
  std::vector<std::string> header = {
      "REGEDIT4",
      "",
      ";   Double click on this file in Explorer",
      ";   to repair removed or changed registry values",
      "",
      ";   Generated by " + productName_,
      ";   on " + clock_.ShortDateText(now) + " " + clock_.LongTimeText(now),
  };
  file_ = std::move(file);
  fileSize_ = 0;
  try {
    WriteText(header, 0, fileName);
  } catch (...) {
    // A file without its whole header is no undo file: take it away, or
    // the next start of the same second would continue it.
    file_.reset();
    fileSystem_.RemoveFile(fileName);
    throw;
  }
  lines_ = std::move(header);
  fileName_ = fileName;
}

void TRegUndoFile::WriteText(const std::vector<std::string>& lines,
                             std::size_t from, const std::string& fileName) {
  std::string text;
  for (std::size_t i = from; i < lines.size(); ++i) {
    text += lines[i];
    text += kLineEnd;
  }
  // The entry lines were checked when they were made; only the header (the
  // product name and the user's date format) can still fall back to "?".
  std::string bytes;
  codePage_.FromUtf8(text, bytes);
  if (file_->Write(bytes)) {
    fileSize_ += bytes.size();
    return;
  }
  // Part of the text may have reached the disk; restoring such a tail would
  // write a cut-off value over a live one.
  if (!file_->Resize(fileSize_)) AbandonFile(fileName);
  throw EUndoFileError("Can not write the undo file " + fileName);
}

void TRegUndoFile::AbandonFile(const std::string& fileName) {
  file_.reset();
  abandoned_.push_back(fileName);
  fileName_.clear();
  lines_.clear();
  fileSize_ = 0;
}

}  // namespace tidewell
