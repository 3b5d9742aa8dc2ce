#include "tests/support/RegistryFixture.h"

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "platform/TextEncoding.h"
#include "registry/RegistryTypes.h"
#include "registry/StoreKey.h"
#include "undo/RegEditNotation.h"

namespace tidewell {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') ||
         (c >= 'A' && c <= 'F');
}

std::string ErrorText(long code) { return "(error " + std::to_string(code) + ")"; }

// ---- Loading -------------------------------------------------------------

// The syntax error of one line; the loader adds the line number and text.
struct SyntaxError {
  std::string reason;
};

// Reads one value line from left to right.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
  void SkipBlanks() {
    while (!AtEnd() && IsBlank(text_[pos_])) ++pos_;
  }
  bool Take(char c) {
    if (Peek() != c) return false;
    ++pos_;
    return true;
  }
  bool TakeWord(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }

  // A double-quoted string with \\ and \" escapes. Unlike the registry
  // editor, a fixture refuses a lone backslash, so that a test's typo shows.
  std::string QuotedString() {
    if (Peek() != '"') throw SyntaxError{"expected a quoted string"};
    const std::size_t close = RegEditTextEnd(text_, pos_);
    const std::string_view escaped =
        text_.substr(pos_ + 1, close == std::string_view::npos
                                   ? std::string_view::npos
                                   : close - pos_ - 1);
    for (std::size_t i = 0; i + 1 < escaped.size(); ++i) {
      if (escaped[i] != '\\') continue;
      if (escaped[i + 1] != '\\' && escaped[i + 1] != '"')
        throw SyntaxError{std::string("unknown escape \\") + escaped[i + 1]};
      ++i;
    }
    if (close == std::string_view::npos)
      throw SyntaxError{"unterminated string"};
    pos_ = close + 1;
    return UnescapeRegEditText(std::string(escaped));
  }

  // 1 to maxDigits hex digits.
  std::uint64_t HexNumber(std::size_t maxDigits) {
    std::size_t digits = 0;
    while (pos_ + digits < text_.size() && IsHexDigit(text_[pos_ + digits]))
      ++digits;
    if (digits > maxDigits) throw SyntaxError{"hex number too long"};
    std::uint64_t value = 0;
    if (!ParseHexNumber(std::string(text_.substr(pos_, digits)), value))
      throw SyntaxError{"expected a hex number"};
    pos_ += digits;
    return value;
  }

  // Comma-separated bytes of two hex digits; may be empty.
  std::vector<std::uint8_t> HexBytes() {
    std::vector<std::uint8_t> bytes;
    SkipBlanks();
    if (AtEnd() || Peek() == ';') return bytes;
    for (;;) {
      SkipBlanks();
      std::uint32_t byte = 0;
      if (pos_ + 1 >= text_.size() || !IsHexDigit(text_[pos_]) ||
          !IsHexDigit(text_[pos_ + 1]) ||
          !ParseHexNumber(std::string(text_.substr(pos_, 2)), byte))
        throw SyntaxError{"expected a byte of two hex digits"};
      pos_ += 2;
      bytes.push_back(static_cast<std::uint8_t>(byte));
      SkipBlanks();
      if (!Take(',')) return bytes;
    }
  }

  // Nothing but blanks or a comment may follow an item.
  void ExpectEnd() {
    SkipBlanks();
    if (!AtEnd() && Peek() != ';')
      throw SyntaxError{"unexpected text after the value"};
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

struct ParsedValue {
  bool remove = false;
  std::uint32_t type = regtype::None;
  std::vector<std::uint8_t> data;
};

ParsedValue ParseData(LineReader& in) {
  ParsedValue value;
  if (in.Take('-')) {
    value.remove = true;
  } else if (in.Peek() == '"') {
    value.type = regtype::String;
    value.data = RegStringBytes(in.QuotedString());
  } else if (in.TakeWord("dword:")) {
    value.type = regtype::Dword;
    const std::uint64_t number = in.HexNumber(8);
    for (int i = 0; i < 4; ++i)
      value.data.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
  } else if (in.TakeWord("qword:")) {
    value.type = regtype::Qword;
    const std::uint64_t number = in.HexNumber(16);
    for (int i = 0; i < 8; ++i)
      value.data.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
  } else if (in.TakeWord("hex:")) {
    value.type = regtype::Binary;
    value.data = in.HexBytes();
  } else if (in.TakeWord("hex(")) {
    value.type = static_cast<std::uint32_t>(in.HexNumber(8));
    if (!in.TakeWord("):")) throw SyntaxError{"expected \"):\" after the type"};
    value.data = in.HexBytes();
  } else if (in.TakeWord("expand:")) {
    value.type = regtype::ExpandString;
    value.data = RegStringBytes(in.QuotedString());
  } else if (in.TakeWord("multi:")) {
    value.type = regtype::MultiString;
    in.SkipBlanks();
    if (in.Peek() == '"') {
      for (;;) {
        const std::vector<std::uint8_t> item = RegStringBytes(in.QuotedString());
        value.data.insert(value.data.end(), item.begin(), item.end());
        in.SkipBlanks();
        if (!in.Take(',')) break;
        in.SkipBlanks();
      }
    }
    value.data.push_back(0);
    value.data.push_back(0);
  } else {
    throw SyntaxError{"unknown value data"};
  }
  in.ExpectEnd();
  return value;
}

// Deletes `subKey` of `base` and everything below it; a missing key is no
// failure. Subkeys go from the last to the first, as registry editors do.
long DeleteTree(RegistryStore& store, KeyHandle base,
                const std::string& subKey) {
  long rc = regerr::Success;
  {
    TStoreKey key(store);
    rc = key.Open(base, subKey, access::KeyRead | access::Delete);
    if (rc == regerr::FileNotFound) return regerr::Success;
    if (rc != regerr::Success) return rc;
    KeyInfo info;
    if ((rc = store.QueryInfoKey(key.Get(), &info)) != regerr::Success)
      return rc;
    for (std::uint32_t i = info.subKeyCount; i-- > 0;) {
      std::string name;
      if ((rc = store.EnumKey(key.Get(), i, &name)) != regerr::Success)
        return rc;
      if ((rc = DeleteTree(store, key.Get(), name)) != regerr::Success)
        return rc;
    }
  }
  return store.DeleteKey(base, subKey);
}

// "[...]" with an optional comment after it: the text between the brackets,
// or nothing when the line is not a well-formed key line.
bool KeyLineContent(std::string_view line, std::string_view* content) {
  for (std::size_t close = line.find(']'); close != std::string_view::npos;
       close = line.find(']', close + 1)) {
    const std::string_view rest = Trimmed(line.substr(close + 1));
    if (rest.empty() || rest.front() == ';') {
      *content = line.substr(1, close - 1);
      return true;
    }
  }
  return false;
}

class FixtureLoader {
 public:
  explicit FixtureLoader(RegistryStore& store) : store_(store), key_(store) {}

  void Line(std::size_t number, std::string_view line) {
    try {
      if (line.front() == '[')
        KeyLine(line);
      else
        ValueLine(line);
    } catch (const SyntaxError& error) {
      throw std::invalid_argument("registry fixture line " +
                                  std::to_string(number) + ": " +
                                  error.reason + ": " + std::string(line));
    }
  }

 private:
  void KeyLine(std::string_view line) {
    std::string_view content;
    if (!KeyLineContent(line, &content)) throw SyntaxError{"missing ']'"};
    const bool remove = !content.empty() && content.front() == '-';
    if (remove) content.remove_prefix(1);
    while (!content.empty() && content.back() == '\\') content.remove_suffix(1);
    const std::size_t slash = content.find('\\');
    const std::string rootName(content.substr(0, slash));
    TRootKey root;
    if (!ParseRootKeyName(rootName, &root))
      throw SyntaxError{"unknown root key \"" + rootName + "\""};
    const std::string path(slash == std::string_view::npos
                               ? std::string_view()
                               : content.substr(slash + 1));

    key_.Close();
    keyName_ = std::string(content);
    if (remove) {
      const long rc = DeleteTree(store_, RootHandle(root), path);
      if (rc != regerr::Success)
        throw std::runtime_error("registry fixture: cannot delete key " +
                                 keyName_ + " " + ErrorText(rc));
      return;
    }
    const long rc = key_.Create(RootHandle(root), path, access::KeyAllAccess);
    if (rc != regerr::Success)
      throw std::runtime_error("registry fixture: cannot create key " +
                               keyName_ + " " + ErrorText(rc));
  }

  void ValueLine(std::string_view line) {
    LineReader in(line);
    std::string name;
    if (!in.Take('@')) name = in.QuotedString();
    in.SkipBlanks();
    if (!in.Take('=')) throw SyntaxError{"expected '=' after the value name"};
    in.SkipBlanks();
    const ParsedValue value = ParseData(in);
    if (!key_.IsOpen()) throw SyntaxError{"value outside any key"};

    const std::string shownName = name.empty() ? "@" : "\"" + name + "\"";
    if (value.remove) {
      const long rc = store_.DeleteValue(key_.Get(), name);
      if (rc != regerr::Success && rc != regerr::FileNotFound)
        throw std::runtime_error("registry fixture: cannot delete value " +
                                 shownName + " of " + keyName_ + " " +
                                 ErrorText(rc));
      return;
    }
    const long rc = store_.SetValue(key_.Get(), name, value.type,
                                    value.data.data(), value.data.size());
    if (rc != regerr::Success)
      throw std::runtime_error("registry fixture: cannot set value " +
                               shownName + " of " + keyName_ + " " +
                               ErrorText(rc));
  }

  RegistryStore& store_;
  TStoreKey key_;
  std::string keyName_;
};

// ---- Dumping -------------------------------------------------------------

std::string Quoted(const std::string& text) {
  return '"' + EscapeRegEditText(text) + '"';
}

std::string HexList(const std::vector<std::uint8_t>& data) {
  std::string out;
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (i) out += ',';
    out += kHexDigits[data[i] >> 4];
    out += kHexDigits[data[i] & 15];
  }
  return out;
}

std::string HexNumber(std::uint64_t number, int digits) {
  std::string out;
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
    out += kHexDigits[(number >> shift) & 15];
  return out;
}

// The UTF-16 code units of `data`; false when its size is odd.
bool CodeUnits(const std::vector<std::uint8_t>& data, std::u16string* units) {
  if (data.size() % 2) return false;
  for (std::size_t i = 0; i < data.size(); i += 2)
    *units += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  return true;
}

// A text the fixture can carry exactly: one line, and the same code units
// after the trip through UTF-8.
bool Printable(const std::u16string& units, std::string* text) {
  if (units.find_first_of(u"\r\n") != std::u16string::npos) return false;
  *text = Utf16ToUtf8(units);
  return Utf8ToUtf16(*text) == units;
}

// One terminated string with no zero inside.
bool AsString(const std::vector<std::uint8_t>& data, std::string* text) {
  std::u16string units;
  if (!CodeUnits(data, &units) || units.empty() || units.back() != 0)
    return false;
  units.pop_back();
  if (units.find(u'\0') != std::u16string::npos) return false;
  return Printable(units, text);
}

// Non-empty terminated strings followed by one more terminator.
bool AsMulti(const std::vector<std::uint8_t>& data, std::string* items) {
  std::u16string units;
  if (!CodeUnits(data, &units) || units.empty() || units.back() != 0)
    return false;
  units.pop_back();
  std::size_t start = 0;
  while (start < units.size()) {
    const std::size_t end = units.find(u'\0', start);
    if (end == std::u16string::npos || end == start) return false;
    std::string item;
    if (!Printable(units.substr(start, end - start), &item)) return false;
    if (start) *items += ',';
    *items += Quoted(item);
    start = end + 1;
  }
  return true;
}

std::string DataText(std::uint32_t type, const std::vector<std::uint8_t>& data) {
  std::string text;
  switch (type) {
    case regtype::String:
      if (AsString(data, &text)) return Quoted(text);
      break;
    case regtype::ExpandString:
      if (AsString(data, &text)) return "expand:" + Quoted(text);
      break;
    case regtype::MultiString:
      if (AsMulti(data, &text)) return "multi:" + text;
      break;
    case regtype::Binary:
      return HexNotationTag(type) + HexList(data);
    case regtype::Dword:
    case regtype::Qword:
      if (data.size() == (type == regtype::Dword ? 4u : 8u)) {
        std::uint64_t number = 0;
        for (std::size_t i = data.size(); i-- > 0;) number = number << 8 | data[i];
        return (type == regtype::Dword ? "dword:" : "qword:") +
               HexNumber(number, static_cast<int>(data.size() * 2));
      }
      break;
    default:
      break;
  }
  return HexNotationTag(type) + HexList(data);
}

void Fail(const std::string& what, const std::string& keyName, long rc) {
  throw std::runtime_error("registry dump: cannot " + what + " " + keyName +
                           " " + ErrorText(rc));
}

void DumpKey(RegistryStore& store, KeyHandle key, const std::string& keyName,
             std::string& out) {
  out += "[" + keyName + "]\n";
  long rc;
  std::string name;
  for (std::uint32_t i = 0;
       (rc = store.EnumValue(key, i, &name)) == regerr::Success; ++i) {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    if (long read = store.QueryValue(key, name, &type, &data))
      Fail("read value \"" + name + "\" of", keyName, read);
    out += (name.empty() ? "@" : Quoted(name)) + "=" + DataText(type, data) +
           "\n";
  }
  if (rc != regerr::NoMoreItems) Fail("list the values of", keyName, rc);

  std::vector<std::string> subKeys;
  for (std::uint32_t i = 0;
       (rc = store.EnumKey(key, i, &name)) == regerr::Success; ++i)
    subKeys.push_back(name);
  if (rc != regerr::NoMoreItems) Fail("list the subkeys of", keyName, rc);

  for (const std::string& subKey : subKeys) {
    const std::string subName = keyName + "\\" + subKey;
    TStoreKey opened(store);
    if ((rc = opened.Open(key, subKey, access::KeyRead)))
      Fail("open", subName, rc);
    DumpKey(store, opened.Get(), subName, out);
  }
}

}  // namespace

void LoadRegistryFixture(RegistryStore& store, std::string_view text) {
  FixtureLoader loader(store);
  std::size_t number = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string line(Trimmed(text.substr(start, end - start)));
    start = end + 1;
    const std::size_t first = ++number;
    if (line.empty() || line.front() == ';' || line == "REGEDIT4") continue;
    // A hex list goes on over the next lines while a line ends with '\'.
    const std::size_t equals = line.find("=hex");
    while (equals != std::string::npos && line.back() == '\\' &&
           start < text.size()) {
      end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      line.pop_back();
      line += Trimmed(text.substr(start, end - start));
      start = end + 1;
      ++number;
    }
    loader.Line(first, line);
  }
}

std::string DumpRegistryTree(RegistryStore& store, TRootKey root,
                             const std::string& path) {
  std::string_view subPath(path);
  while (!subPath.empty() && subPath.front() == '\\') subPath.remove_prefix(1);
  while (!subPath.empty() && subPath.back() == '\\') subPath.remove_suffix(1);
  std::string keyName = RootKeyName(root);
  if (!subPath.empty()) {
    // Appended in two steps: GCC 12 at -O3 warns falsely (-Wrestrict) about
    // "\\" + std::string(...).
    keyName += '\\';
    keyName.append(subPath);
  }

  TStoreKey opened(store);
  const long rc = opened.Open(RootHandle(root), std::string(subPath), access::KeyRead);
  if (rc == regerr::FileNotFound) return "";
  if (rc != regerr::Success) Fail("open", keyName, rc);
  std::string out;
  DumpKey(store, opened.Get(), keyName, out);
  return out;
}

}  // namespace tidewell
