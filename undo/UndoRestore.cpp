#include "undo/UndoRestore.h"

#include <cstdint>
#include <utility>

#include "platform/TextEncoding.h"
#include "registry/RegistryTypes.h"
#include "undo/RegEditNotation.h"

namespace tidewell {
namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// Removes one double quote at the start, then one at the end, where present.
std::string WithoutQuotes(std::string text) {
  if (!text.empty() && text.front() == '"') text.erase(0, 1);
  if (!text.empty() && text.back() == '"') text.pop_back();
  return text;
}

// Splits a value line into the value name and its data. Current files escape
// the name like data, so the name ends at the first unescaped quote and "="
// follows it at once. Older files wrote names unescaped; for them, and for any
// line the first form does not fit, the line is unescaped whole and split at
// its first "=", which reads every line those files wrote as they meant it.
bool SplitValueLine(const std::string& line, std::string& name,
                    std::string& data) {
  if (!line.empty() && line.front() == '"') {
    std::size_t i = 1;
    while (i < line.size() && line[i] != '"') {
      const bool escape = line[i] == '\\' && i + 1 < line.size() &&
                          (line[i + 1] == '\\' || line[i + 1] == '"');
      i += escape ? 2 : 1;
    }
    if (i + 1 < line.size() && line[i + 1] == '=') {
      name = UnescapeRegEditText(line.substr(1, i - 1));
      data = UnescapeRegEditText(line.substr(i + 2));
      return true;
    }
  }
  const std::string plain = UnescapeRegEditText(line);
  const std::size_t equals = plain.find('=');
  if (equals == std::string::npos) return false;
  name = plain.substr(0, equals);
  data = plain.substr(equals + 1);
  name = name == "@" ? std::string() : WithoutQuotes(name);
  return true;
}

std::vector<std::uint8_t> HexBytesOrThrow(const std::string& text,
                                          const std::string& name) {
  std::vector<std::uint8_t> bytes;
  if (!ParseHexBytes(text, bytes)) {
    throw EUndoDataError("Invalid hex data for '" + name + "'");
  }
  return bytes;
}

// REGEDIT4 holds string types as ANSI bytes; the registry holds UTF-16.
std::vector<std::uint8_t> Utf16FromAnsi(TAnsiCodePage& codePage,
                                        const std::vector<std::uint8_t>& ansi) {
  const std::string text = codePage.ToUtf8(std::string(ansi.begin(), ansi.end()));
  const std::string bytes = Utf16LeBytes(Utf8ToUtf16(text), false);
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

// "hex(N):..." with its type and bytes.
void WriteTypedHex(TRegistry& registry, TAnsiCodePage& codePage,
                   const std::string& name, const std::string& data) {
  const std::size_t close = data.find("):");
  std::uint32_t type = 0;
  if (close == std::string::npos ||
      !ParseHexNumber(data.substr(4, close - 4), type)) {
    throw EUndoDataError("Invalid hex data for '" + name + "'");
  }
  std::vector<std::uint8_t> bytes = HexBytesOrThrow(data.substr(close + 2), name);
  if (type == regtype::String || type == regtype::ExpandString ||
      type == regtype::MultiString) {
    bytes = Utf16FromAnsi(codePage, bytes);
  }
  registry.WriteRawValue(name, type, bytes);
}

struct RootName {
  const char* name;
  TRootKey root;
};

// The order in which a Key is matched against the roots.
constexpr RootName kRootOrder[] = {
    {"HKEY_CLASSES_ROOT", TRootKey::ClassesRoot},
    {"HKEY_LOCAL_MACHINE", TRootKey::LocalMachine},
    {"HKEY_CURRENT_USER", TRootKey::CurrentUser},
    {"HKEY_USERS", TRootKey::Users},
};

// Writes one entry; false when it could not be written (the loop goes on).
bool RestoreEntry(TRegistry& registry, TAnsiCodePage& codePage,
                  const TUndoEntry& entry) {
  for (const RootName& root : kRootOrder) {
    if (!StartsWith(entry.Key, root.name)) continue;
    // The rest begins with a backslash: a path from the root.
    const std::string path = entry.Key.substr(std::char_traits<char>::length(root.name));
    registry.CloseKey();
    registry.SetRootKey(root.root);
    if (!registry.OpenKey(path, true)) return false;
    const bool written =
        entry.Line.empty() || RestoreValueLine(registry, codePage, entry.Line);
    registry.CloseKey();
    return written;
  }
  return false;
}

}  // namespace

bool RestoreValueLine(TRegistry& registry, TAnsiCodePage& codePage,
                      const std::string& line) {
  std::string name;
  std::string data;
  if (!SplitValueLine(line, name, data)) return false;

  if (StartsWith(data, "dword:")) {
    std::uint32_t value = 0;
    if (!ParseHexNumber(data.substr(6), value)) return false;
    try {
      registry.WriteInteger(name, static_cast<std::int32_t>(value));
    } catch (const ERegistryException&) {
      return false;
    }
    return true;
  }
  if (StartsWith(data, "hex:")) {
    const std::vector<std::uint8_t> bytes = HexBytesOrThrow(data.substr(4), name);
    registry.WriteBinaryData(name, bytes.data(), static_cast<int>(bytes.size()));
    return true;
  }
  if (StartsWith(data, "hex(")) {
    WriteTypedHex(registry, codePage, name, data);
    return true;
  }
  registry.WriteString(name, WithoutQuotes(data));
  return true;
}

std::string ValueNameOfLine(const std::string& line) {
  std::string name;
  std::string data;
  return SplitValueLine(line, name, data) ? name : std::string();
}

bool RestoreUndo(RegistryStore& store, TAnsiCodePage& codePage,
                 std::vector<TUndoEntry>& entries) {
  TRegistry registry(store);
  bool allWritten = true;
  for (TUndoEntry& entry : entries) {
    if (!entry.Ticked) continue;
    bool written = false;
    try {
      written = RestoreEntry(registry, codePage, entry);
    } catch (const EUndoDataError&) {
      registry.CloseKey();
      return false;
    } catch (const ERegistryException&) {
      registry.CloseKey();
      return false;
    }
    if (written) {
      entry.Ticked = false;
    } else {
      allWritten = false;
    }
  }
  registry.CloseKey();
  return allWritten;
}

}  // namespace tidewell
