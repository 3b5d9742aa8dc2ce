#include "undo/UndoFileLoader.h"

#include "undo/UndoFolder.h"

namespace tidewell {
namespace {

std::string NamePart(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::vector<TUndoEntry> LoadUndoEntries(const TRegUndoFile& writer,
                                        TFileSystem& fileSystem,
                                        TAnsiCodePage& codePage,
                                        const std::string& applicationFolder,
                                        const std::string& pickedName) {
  if (!writer.FileName().empty() && pickedName == NamePart(writer.FileName())) {
    return ParseUndoEntries(writer.Lines());
  }
  return ReadUndoFile(fileSystem, codePage,
                      UndoFilePath(applicationFolder, pickedName));
}

}  // namespace tidewell
