#include "settings/SettingsFile.h"

#include <charconv>
#include <cstdio>
#include <utility>

#include "settings/WholeFileWrite.h"
#include "platform/EightBitTextFile.h"
#include "platform/TextEncoding.h"
#include "platform/TextLines.h"
#include "platform/TextTrim.h"

namespace tidewell {
namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr const char* kTextPrefix = "text:";
// The store's other typed forms; kept as written, never produced here.
constexpr const char* kOtherPrefixes[] = {"curr:", "date:", "point:", "int64:",
                                          "hex:"};

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() &&
         NamesEqual(text.substr(0, prefix.size()), prefix);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

// The text between the quotes of `quoted`; nothing when it is not quoted.
std::optional<std::string> Unquote(const std::string& quoted) {
  if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') {
    return std::nullopt;
  }
  return quoted.substr(1, quoted.size() - 2);
}

std::optional<std::string> UnescapeDollars(const std::string& text) {
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '$') {
      plain += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == '$') {
      plain += '$';
      ++i;
    } else if (i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
               HexDigit(text[i + 2]) >= 0) {
      plain += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 2;
    } else {
      return std::nullopt;
    }
  }
  return plain;
}


}  // namespace

std::optional<std::int64_t> ParseWholeNumber(const std::string& text) {
  std::string digits = text;
  if (!digits.empty() && digits.front() == '+') digits.erase(0, 1);
  if (digits.empty() || digits.front() == '+') return std::nullopt;
  std::int64_t value = 0;
  const char* end = digits.data() + digits.size();
  const auto [at, error] = std::from_chars(digits.data(), end, value);
  if (error != std::errc() || at != end) return std::nullopt;
  return value;
}

std::string EncodeSettingsText(const std::string& text) {
  bool hasControl = false;
  for (char c : text) hasControl = hasControl || IsControl(static_cast<unsigned char>(c));
  if (!hasControl) return "\"" + text + "\"";
  std::string escaped;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '$') {
      escaped += "$$";
    } else if (IsControl(byte)) {
      char hex[4];
      std::snprintf(hex, sizeof hex, "$%.2X", static_cast<unsigned>(byte));
      escaped += hex;
    } else {
      escaped += c;
    }
  }
  return std::string(kTextPrefix) + "\"" + escaped + "\"";
}

std::optional<TSettingsValue> DecodeSettingsValue(const std::string& written) {
  using TKind = TSettingsValue::TKind;
  const std::string value = TrimText(written);
  if (value.empty()) return TSettingsValue{TKind::Text, ""};
  if (value.front() == '"') {
    const auto text = Unquote(value);
    if (!text) return std::nullopt;
    return TSettingsValue{TKind::Text, *text};
  }
  if (StartsWithNoCase(value, kTextPrefix)) {
    const auto quoted = Unquote(TrimText(value.substr(std::string(kTextPrefix).size())));
    if (!quoted) return std::nullopt;
    const auto text = UnescapeDollars(*quoted);
    if (!text) return std::nullopt;
    return TSettingsValue{TKind::Text, *text};
  }
  const char first = value.front();
  if ((first >= '0' && first <= '9') || first == '+' || first == '-') {
    return TSettingsValue{TKind::Number, value};
  }
  if (NamesEqual(value, "True")) return TSettingsValue{TKind::YesNo, "True"};
  if (NamesEqual(value, "False")) return TSettingsValue{TKind::YesNo, "False"};
  for (const char* prefix : kOtherPrefixes) {
    if (StartsWithNoCase(value, prefix)) return TSettingsValue{TKind::Other, value};
  }
  return std::nullopt;
}

TSettingsFile::TSettingsFile(std::string storeName, std::string section)
    : storeName_(std::move(storeName)), section_(std::move(section)) {}

std::string TSettingsFile::FileName(const std::string& applicationFolder) const {
  return applicationFolder + storeName_ + ".ini";
}

void TSettingsFile::Store(const std::string& name, TSettingsValue value) {
  for (TProperty& property : properties_) {
    if (NamesEqual(property.Name, name)) {
      property.Value = std::move(value);
      return;
    }
  }
  properties_.push_back({name, std::move(value)});
}

void TSettingsFile::WriteBool(const std::string& name, bool value) {
  Store(name, {TSettingsValue::TKind::YesNo, value ? "True" : "False"});
}

void TSettingsFile::WriteInteger(const std::string& name, std::int64_t value) {
  Store(name, {TSettingsValue::TKind::Number, std::to_string(value)});
}

void TSettingsFile::WriteString(const std::string& name, const std::string& value) {
  Store(name, {TSettingsValue::TKind::Text, value});
}

void TSettingsFile::WriteIntegerList(const std::string& name,
                                     const std::vector<std::int64_t>& values) {
  std::string joined;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) joined += ',';
    joined += std::to_string(values[i]);
  }
  WriteString(name, joined);
}

const TSettingsValue* TSettingsFile::Find(const std::string& name) const {
  for (const TProperty& property : properties_) {
    if (NamesEqual(property.Name, name)) return &property.Value;
  }
  return nullptr;
}

bool TSettingsFile::ReadBool(const std::string& name, bool fallback) const {
  const TSettingsValue* value = Find(name);
  if (value == nullptr || value->Kind != TSettingsValue::TKind::YesNo) return fallback;
  return value->Data == "True";
}

std::int64_t TSettingsFile::ReadInteger(const std::string& name,
                                        std::int64_t fallback) const {
  const TSettingsValue* value = Find(name);
  if (value == nullptr || value->Kind != TSettingsValue::TKind::Number) return fallback;
  return ParseWholeNumber(value->Data).value_or(fallback);
}

std::string TSettingsFile::ReadString(const std::string& name,
                                      const std::string& fallback) const {
  const TSettingsValue* value = Find(name);
  if (value == nullptr || value->Kind != TSettingsValue::TKind::Text) return fallback;
  return value->Data;
}

std::vector<std::int64_t> TSettingsFile::ReadIntegerList(
    const std::string& name, const std::vector<std::int64_t>& fallback) const {
  const TSettingsValue* value = Find(name);
  if (value == nullptr || value->Kind == TSettingsValue::TKind::YesNo ||
      value->Kind == TSettingsValue::TKind::Other) {
    return fallback;
  }
  std::vector<std::int64_t> numbers;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = value->Data.find(',', start);
    const auto number = ParseWholeNumber(TrimText(value->Data.substr(start, comma - start)));
    if (!number) return fallback;
    numbers.push_back(*number);
    if (comma == std::string::npos) return numbers;
    start = comma + 1;
  }
}

std::vector<std::string> TSettingsFile::Names() const {
  std::vector<std::string> names;
  for (const TProperty& property : properties_) names.push_back(property.Name);
  return names;
}

std::string TSettingsFile::Text() const {
  std::string text = "[" + section_ + "]" + kLineEnd;
  for (const TProperty& property : properties_) {
    const TSettingsValue& value = property.Value;
    const std::string written = value.Kind == TSettingsValue::TKind::Text
                                    ? EncodeSettingsText(value.Data)
                                    : value.Data;
    text += property.Name + "=" + written + kLineEnd;
  }
  return text + kLineEnd;
}

std::vector<std::string> TSettingsFile::LoadText(const std::string& text) {
  properties_.clear();
  std::vector<std::string> problems;
  bool inSection = false;
  const std::vector<std::string> lines = SplitTextLines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string line = TrimText(lines[i]);
    if (line.empty()) continue;
    if (line.front() == '[' && line.back() == ']') {
      inSection = NamesEqual(TrimText(line.substr(1, line.size() - 2)), section_);
      continue;
    }
    const char first = line.front();
    if (first == '#' || first == '/' || first == ';' || first == '\\') continue;
    const std::size_t equals = line.find('=');
    if (!inSection || equals == std::string::npos) continue;
    const std::string name = TrimText(line.substr(0, equals));
    if (name.empty()) continue;
    const auto value = DecodeSettingsValue(line.substr(equals + 1));
    if (!value) {
      problems.push_back("line " + std::to_string(i + 1) + ": \"" + name +
                         "\" has a value that is not True, False, a number or "
                         "a quoted text");
      continue;
    }
    Store(name, *value);
  }
  return problems;
}

bool TSettingsFile::LoadFromFile(TFileSystem& fileSystem, TAnsiCodePage& codePage,
                                 const std::string& path, std::string& error) {
  properties_.clear();
  std::string bytes;
  switch (ReadEightBitFile(fileSystem, path, bytes)) {
    case TEightBitRead::Missing:
      return true;
    case TEightBitRead::Unreadable:
      error = path + " cannot be read";
      return false;
    case TEightBitRead::NotEightBit:
      error = path + " is not an 8-bit text file";
      return false;
    case TEightBitRead::Read:
      break;
  }
  const std::vector<std::string> problems = LoadText(codePage.ToUtf8(bytes));
  if (!problems.empty()) {
    error = path + ", " + problems.front();
    return false;
  }
  return true;
}

bool TSettingsFile::SaveToFile(TFileSystem& fileSystem, TAnsiCodePage& codePage,
                               const std::string& path, std::string& error) const {
  std::string bytes;
  if (!codePage.FromUtf8(Text(), bytes)) {
    error = path + ": a setting holds a character the code page cannot write";
    return false;
  }
  return WriteFileWhole(fileSystem, path, bytes, error);
}

}  // namespace tidewell
