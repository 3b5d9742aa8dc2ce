#include "undo/UndoFileLoader.h"

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
  const std::string path = applicationFolder + "restore\\" + pickedName;
  std::string bytes;
  if (!fileSystem.ReadWholeFile(path, bytes)) {
    throw EUndoFileError("Can not read the undo file " + path);
  }
  return ParseUndoEntries(SplitUndoFileLines(codePage.ToUtf8(bytes)));
}

}  // namespace tidewell
