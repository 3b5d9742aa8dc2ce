// Fuzz target for the undo file reader. Undo files are plain text a user can
// edit, so every byte sequence must parse and restore without a crash, an
// endless loop or a broken promise:
//   - every entry comes from a line that holds "=";
//   - after a restore, an entry is unticked only when it was written, and the
//     result is true only when none is left ticked;
//   - the registry object closes every key it opened.
// Build with clang for coverage-guided runs (see tests/undo/CMakeLists.txt);
// UndoParserFuzzTest feeds it a fixed corpus in every ordinary build.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/AnsiCodePage.h"
#include "registry/MemoryRegistryStore.h"
#include "undo/UndoFileParser.h"
#include "undo/UndoRestore.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace tidewell;
  Windows1252CodePage codePage;
  const std::string text = codePage.ToUtf8(
      std::string(reinterpret_cast<const char*>(data), size));
  const std::vector<std::string> lines = SplitUndoFileLines(text);
  std::vector<TUndoEntry> entries = ParseUndoEntries(lines);
  Require(entries.size() <= lines.size());

  for (TUndoEntry& entry : entries) {
    // A value line, or a key recorded without values.
    Require(entry.Line.find('=') != std::string::npos ||
            (entry.Line.empty() && entry.Value.empty() && !entry.Key.empty()));
    entry.Ticked = true;
  }
  MemoryRegistryStore store;
  const bool restored = RestoreUndo(store, codePage, entries);
  bool anyTicked = false;
  for (const TUndoEntry& entry : entries) anyTicked = anyTicked || entry.Ticked;
  Require(restored == !anyTicked);
  Require(store.OpenHandleCount() == 0);
  return 0;
}
