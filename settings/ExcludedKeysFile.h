// ExcludedKeys.txt: the keys and program names the cleanup never lists, one
// entry per line, in the program's folder, one file for all users. It is
// 8-bit text in the ANSI code page without a byte-order mark or header.
// Entries are kept exactly as written (spaces belong to them, order and
// duplicates are kept); which problems they hide is decided by IsExcludedKey
// (scan/ExcludedKeys.h).
#pragma once

#include <string>
#include <vector>

#include "platform/AnsiCodePage.h"
#include "platform/FileSystem.h"

namespace tidewell {

inline constexpr const char* kExcludedKeysFileName = "ExcludedKeys.txt";

// ApplicationFolder (with its trailing backslash) + "ExcludedKeys.txt".
std::string ExcludedKeysPath(const std::string& applicationFolder);

// The entries of the file's text: CR, LF and CR LF each end a line, a last
// line without a line break counts, and an empty line between two breaks is
// an empty entry.
std::vector<std::string> SplitExcludedKeys(const std::string& text);
// Every entry followed by CR LF; the empty list gives the empty text.
std::string JoinExcludedKeys(const std::vector<std::string>& entries);

// Reads the list. A missing file is the empty list and no error. False, with
// `error` set to a one-line reason, when the file cannot be read or is not
// 8-bit text (it holds NUL bytes, as a file saved as UTF-16 does).
bool LoadExcludedKeys(TFileSystem& fileSystem, TAnsiCodePage& codePage,
                      const std::string& path, std::vector<std::string>& entries,
                      std::string& error);
// Replaces the file with the list. False, with `error` set, when it cannot be
// written or an entry holds a character the code page has no byte for.
bool SaveExcludedKeys(TFileSystem& fileSystem, TAnsiCodePage& codePage,
                      const std::string& path,
                      const std::vector<std::string>& entries, std::string& error);

}  // namespace tidewell
