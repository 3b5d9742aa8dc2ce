#include "undo/UndoFileParser.h"

#include "platform/TextLines.h"

#include "platform/TextTrim.h"
#include "undo/RegEditNotation.h"

namespace tidewell {
namespace {

bool EndsWithBackslash(const std::string& text) {
  return !text.empty() && text.back() == '\\';
}

// Hex data (hex: or hex(N):) may go on over the following lines.
bool MayContinue(const std::string& value) {
  return (value.find("=hex:") != std::string::npos ||
          value.find("=hex(") != std::string::npos) &&
         EndsWithBackslash(value);
}

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// The continuation lines after `index`, each trimmed, their backslashes at
// the line ends removed, joined into one text. Not unescaped: hex data has
// nothing to unescape. A line holding "=" is a value line of its own, never
// hex data: it ends the continuation, which also keeps a file of nothing but
// unfinished hex lines from joining every line onto every other.
std::string ContinuationText(const std::vector<std::string>& lines,
                             std::size_t index) {
  std::string text;
  for (std::size_t next = index + 1; next < lines.size(); ++next) {
    if (lines[next].find('=') != std::string::npos) break;
    text += TrimText(lines[next]);
    if (!EndsWithBackslash(text)) break;
    text.pop_back();
  }
  return text;
}

}  // namespace

std::vector<std::string> SplitUndoFileLines(const std::string& text) {
  return SplitTextLines(text);
}

std::vector<TUndoEntry> ParseUndoEntries(const std::vector<std::string>& lines) {
  std::vector<TUndoEntry> entries;
  std::string currentKey;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& raw = lines[i];
    const std::string text = TrimText(raw);
    if (text.empty() || text.front() == ';') continue;
    if (UpperAscii(text.substr(0, 8)) == "REGEDIT4") continue;
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
      // A key name may hold "=", so a section line is never a value line.
      currentKey = text.substr(1, text.size() - 2);
      // A key recorded without values gets an entry of its own, so that
      // restoring a deleted tree brings back its empty keys too. The entry
      // gives way to the key's first value line.
      if (!currentKey.empty()) entries.push_back(TUndoEntry{false, currentKey, "", ""});
      continue;
    }
    const std::size_t equals = raw.find('=');
    if (equals == std::string::npos || equals == 0) continue;

    if (!entries.empty() && entries.back().Line.empty() &&
        entries.back().Key == currentKey) {
      entries.pop_back();
    }
    TUndoEntry entry;
    entry.Key = currentKey;
    entry.Value = UnescapeRegEditText(text);
    entry.Line = text;
    if (MayContinue(entry.Value)) {
      entry.Value.pop_back();
      entry.Line.pop_back();
      const std::string continuation = ContinuationText(lines, i);
      entry.Value += continuation;
      entry.Line += continuation;
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace tidewell
