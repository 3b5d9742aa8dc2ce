// Where undo files live and how one is read from disk: the one place for the
// folder's name and for the verdict on a file, shared by the writer, the undo
// window and the console program.
#pragma once

#include <string>
#include <vector>

#include "platform/AnsiCodePage.h"
#include "platform/FileSystem.h"
#include "undo/UndoFileParser.h"

namespace tidewell {

// ApplicationFolder + "restore", without a trailing backslash.
std::string UndoFolderOf(const std::string& applicationFolder);

// The path of the undo file `name` (a name without folder) in that folder.
std::string UndoFilePath(const std::string& applicationFolder,
                         const std::string& name);

// True for names with the extension ".reg", in any letter case.
bool IsUndoFileName(const std::string& name);

// The entries of the undo file at `path`, its ANSI text converted. Throws
// EUndoFileError when the file cannot be read, or when it holds NUL bytes:
// undo files are 8-bit text, and such a file (the registry editor's UTF-16
// export, say) would restore garbage.
std::vector<TUndoEntry> ReadUndoFile(TFileSystem& fileSystem,
                                     TAnsiCodePage& codePage,
                                     const std::string& path);

}  // namespace tidewell
