// TSettingsFile: a window's settings kept between runs in an INI-style file
// "<ApplicationFolder><store name>.ini" with one section, named after the
// window. Each stored property is one line, name "=" value:
//
//   [frmCleanupSettings]
//   chkSounds.Checked=True                yes/no
//   rgTasks.ItemIndex=2                   whole number, "%d"
//   lvwRegKeys.Columns.Width="300,152,135"   text (a list joined by commas)
//   Caption=text:"one$0Dtwo$$"            text with control characters: "$"
//                                         doubled, each control character "$"
//                                         and two hex digits
//
// followed by one empty line, CR LF after every line, in the ANSI code page.
// The properties are written in the order they were first stored.
//
// Reading is lenient in the way the files have always been read (trimmed
// lines, comments, lines without "=" skipped, other sections ignored), but a
// value that has none of the forms above is reported, so that a front end can
// refuse a file a person has garbled instead of guessing what it meant.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/AnsiCodePage.h"
#include "platform/FileSystem.h"

namespace tidewell {

// One stored value in its written form. `Kind` says how the file spelled it.
struct TSettingsValue {
  enum class TKind { YesNo, Number, Text, Other };
  TKind Kind = TKind::Text;
  // YesNo: "True"/"False"; Number: the digits as written; Text: the text
  // itself (quotes and "$" escapes resolved); Other: the raw value (one of
  // the store's prefixed forms such as "int64:" that these windows never use).
  std::string Data;
};

class TSettingsFile {
 public:
  // `storeName` names the file ("CleanupSettings"), `section` the window
  // ("frmCleanupSettings").
  TSettingsFile(std::string storeName, std::string section);

  const std::string& StoreName() const { return storeName_; }
  const std::string& Section() const { return section_; }
  // ApplicationFolder (with its trailing backslash) + store name + ".ini".
  std::string FileName(const std::string& applicationFolder) const;

  // Storing replaces a property of the same name (letter case ignored) in
  // place, or appends a new one.
  void WriteBool(const std::string& name, bool value);
  void WriteInteger(const std::string& name, std::int64_t value);
  void WriteString(const std::string& name, const std::string& value);
  // Every item's value joined by commas, as one text.
  void WriteIntegerList(const std::string& name,
                        const std::vector<std::int64_t>& values);

  // The value stored under `name` (letter case ignored), if any.
  const TSettingsValue* Find(const std::string& name) const;
  // The stored value when it has the asked-for form, else `fallback`.
  bool ReadBool(const std::string& name, bool fallback) const;
  std::int64_t ReadInteger(const std::string& name, std::int64_t fallback) const;
  std::string ReadString(const std::string& name,
                         const std::string& fallback) const;
  std::vector<std::int64_t> ReadIntegerList(
      const std::string& name, const std::vector<std::int64_t>& fallback) const;

  // Forgets every property: a window that stores its list anew after this
  // gets exactly its lines, in its order.
  void Clear() { properties_.clear(); }

  // Property names in file order.
  std::vector<std::string> Names() const;

  // The file's text (UTF-8; the file holds it in the ANSI code page).
  std::string Text() const;
  // Replaces the store's content by the properties of this store's section
  // in `text`. Returns one message per value that has none of the known forms
  // ("line 3: ..."); such a value is not stored. Nothing else in a text is an
  // error.
  std::vector<std::string> LoadText(const std::string& text);

  // Reads the file. A missing file leaves the store empty and is no error.
  // False, with `error` set to a one-line reason, when the file exists but
  // cannot be read or holds a value LoadText reports.
  bool LoadFromFile(TFileSystem& fileSystem, TAnsiCodePage& codePage,
                    const std::string& path, std::string& error);
  // Replaces the file with Text(). False, with `error` set, when the file
  // cannot be written or a character has no form in the code page.
  bool SaveToFile(TFileSystem& fileSystem, TAnsiCodePage& codePage,
                  const std::string& path, std::string& error) const;

 private:
  struct TProperty {
    std::string Name;
    TSettingsValue Value;
  };
  void Store(const std::string& name, TSettingsValue value);

  std::string storeName_;
  std::string section_;
  std::vector<TProperty> properties_;
};

// The written form of a text value: plain quoted, or "text:" with escapes
// when the text holds control characters.
std::string EncodeSettingsText(const std::string& text);
// Reads a value as the file spells it; nothing when it has no known form.
std::optional<TSettingsValue> DecodeSettingsValue(const std::string& written);

// Whole numbers with optional sign, nothing else; nothing for anything else
// or for a number out of range.
std::optional<std::int64_t> ParseWholeNumber(const std::string& text);

}  // namespace tidewell
