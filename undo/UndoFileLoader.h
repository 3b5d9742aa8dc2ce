// Where the lines of a picked undo file come from. The current run's file is
// held open without sharing by the writer, so no one can read it from disk
// during the run; its lines are taken from the writer instead.
#pragma once

#include <string>
#include <vector>

#include "platform/AnsiCodePage.h"
#include "platform/FileSystem.h"
#include "undo/UndoFileParser.h"
#include "undo/Undos.h"

namespace tidewell {

// The entries of the undo file `pickedName` (a name without folder, as the
// file list shows it) in ApplicationFolder + "restore". When the name equals,
// letter case counting, the name part of the writer's FileName, the writer's
// Lines are used; otherwise the file is read from disk and its ANSI text
// converted. Throws EUndoFileError when the file cannot be read or is no
// undo file (ReadUndoFile), so that a caller keeps the list it had.
std::vector<TUndoEntry> LoadUndoEntries(const TRegUndoFile& writer,
                                        TFileSystem& fileSystem,
                                        TAnsiCodePage& codePage,
                                        const std::string& applicationFolder,
                                        const std::string& pickedName);

}  // namespace tidewell
