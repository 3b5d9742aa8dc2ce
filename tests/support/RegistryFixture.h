// Registry fixtures: a compact REGEDIT4-like text that plants keys and values
// in a store, and the same text printed back from a store. The loader uses only
// the RegistryStore calls, so one fixture serves the in-memory store and the
// real (Wine) registry alike.
//
// One item per line; leading and trailing blanks, blank lines and lines that
// start with ';' are ignored, and so is a "; comment" after a complete item:
//
//   [HKEY_LOCAL_MACHINE\Software\Foo]        creates the key and its parents
//   [-HKEY_CURRENT_USER\Software\Gone]       deletes the key and its subtree
//   "Name"="text with \\ backslash and \" quote"   REG_SZ
//   @="default value"                        the key's default value
//   "Count"=dword:0000001a                   REG_DWORD (1 to 8 hex digits)
//   "Big"=qword:1122334455667788             REG_QWORD (1 to 16 hex digits)
//   "Bin"=hex:01,02,ff                       REG_BINARY
//   "Exp"=expand:"%SystemRoot%\\x.dll"       REG_EXPAND_SZ
//   "Multi"=multi:"a","b"                    REG_MULTI_SZ
//   "Raw"=hex(7):61,00,00,00                 any type, number in hex
//   "Old"=-                                  deletes the value
//
// A hex list may go on over the next lines when a line ends with a backslash,
// as registry exports write it. A "REGEDIT4" header line is skipped. Strings are
// stored as UTF-16LE with their terminator; a multi-string as each string
// terminated plus a final terminator.
#pragma once

#include <string>
#include <string_view>

#include "registry/RegistryStore.h"
#include "registry/RegistryTypes.h"

namespace tidewell {

// Plants the fixture. A malformed line throws std::invalid_argument naming its
// line number and text; a store call that fails throws std::runtime_error
// naming the key or value and the error code. Items before the failure stay.
void LoadRegistryFixture(RegistryStore& store, std::string_view text);

// The key `path` of `root` (empty = the root itself) and everything below it,
// in the fixture format and in the store's enumeration order: each key's line,
// then its values, then its subkeys. Types the short forms cannot carry
// exactly are printed as hex(N), so loading the text rebuilds the same tree.
// The empty text when the key does not exist; std::runtime_error when reading
// fails otherwise.
std::string DumpRegistryTree(RegistryStore& store, TRootKey root,
                             const std::string& path);

}  // namespace tidewell
