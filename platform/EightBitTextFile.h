// Reading a text file a person may have edited and that must be 8-bit text
// in the ANSI code page (undo files, settings files, ExcludedKeys.txt). A
// file holding NUL bytes is something else, such as a UTF-16 file, and would
// be read as garbage; each caller says so in its own words.
#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace tidewell {

enum class TEightBitRead { Read, Missing, Unreadable, NotEightBit };

// The file's bytes in `bytes` when the answer is Read.
TEightBitRead ReadEightBitFile(TFileSystem& fileSystem, const std::string& path,
                               std::string& bytes);

}  // namespace tidewell
