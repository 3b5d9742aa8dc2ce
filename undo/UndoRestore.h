// Writing the ticked entries of an undo file back into the registry.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/AnsiCodePage.h"
#include "registry/Registry.h"
#include "registry/RegistryStore.h"
#include "undo/UndoFileParser.h"

namespace tidewell {

// Hex data in an entry that is not a list of hexadecimal numbers.
class EUndoDataError : public std::runtime_error {
 public:
  explicit EUndoDataError(const std::string& message)
      : std::runtime_error(message) {}
};

// Writes every ticked entry back, in list order: opens (creating it when
// needed) the entry's key under the root its Key names, and writes the value
// of its line there. An entry that was written is unticked.
//
// An entry that could not be written - its Key names no known root, its key
// cannot be opened or created, or its DWORD cannot be read or written - stays
// ticked, makes the result false, and the loop goes on with the next. Bad hex
// data or a failed string or binary write ends the loop at once with false:
// that entry stays ticked, the ones before it stay written and unticked.
// True when every ticked entry was written.
bool RestoreUndo(RegistryStore& store, TAnsiCodePage& codePage,
                 std::vector<TUndoEntry>& entries);

// Parses one value line in file notation (TUndoEntry::Line) and writes the
// value into the key `registry` has open:
//   @=...  the default value;  "name"=...  the named value (escapes resolved)
//   dword:XXXXXXXX          REG_DWORD
//   hex:XX,XX,...           REG_BINARY
//   hex(N):XX,XX,...        type N; for REG_SZ (1), REG_EXPAND_SZ (2) and
//                           REG_MULTI_SZ (7) the bytes are ANSI text
//   "text" or anything else REG_SZ
// False when the value was not written: a DWORD that cannot be read or
// written, or a line without "=". Throws EUndoDataError for bad hex data and
// ERegistryException for a failed string or hex write.
bool RestoreValueLine(TRegistry& registry, TAnsiCodePage& codePage,
                      const std::string& line);

// The value name of a value line in file notation, read as restoring reads
// it ("" for the default value and for a line without "=").
std::string ValueNameOfLine(const std::string& line);

}  // namespace tidewell
