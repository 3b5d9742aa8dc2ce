// Reading an undo file back: its text split into lines, and the lines turned
// into the entry list the undo window shows, one entry per value line.
//
// The reader accepts what the undo writer has written in every version, and
// what a user may have made of it in an editor: comments, the REGEDIT4 header,
// section lines, value lines, hex data continued over several lines, and any
// of CR LF, CR or LF between lines.
#pragma once

#include <string>
#include <vector>

namespace tidewell {

// One row of the undo window: a value recorded in the file, or a key recorded
// without any value (Value and Line empty), which restoring creates.
struct TUndoEntry {
  // Chosen for restoring; false when the entry is read.
  bool Ticked = false;
  // The text between the brackets of the last section line before the value
  // line: root key name, backslash, key path. Empty when there was none.
  std::string Key;
  // The value line as the user reads it: trimmed, escapes resolved, hex data
  // joined from its continuation lines. For example "Path"="C:\Old\".
  std::string Value;
  // The same line with its escapes kept, as the file notation has it. Restoring
  // parses this, because only the escaped form tells a quote inside a value
  // name from the quote that ends it.
  std::string Line;
};

// Lines end at CR LF, at a lone CR or at a lone LF; a line end at the very end
// of the text does not start another line.
std::vector<std::string> SplitUndoFileLines(const std::string& text);

// The entries of the value lines, in file order, and of each section that has
// no value line. Lines that are comments, the REGEDIT4 line, empty, or hold no
// "=" with something before it, make no entry; nothing in the input makes
// this fail. Hex data whose line
// ends with a backslash goes on over the following lines, up to the first line
// that does not end with one, or that holds "=", or the end of the file.
std::vector<TUndoEntry> ParseUndoEntries(const std::vector<std::string>& lines);

}  // namespace tidewell
