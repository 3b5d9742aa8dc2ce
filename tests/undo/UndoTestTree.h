// A registry tree that holds every value type and the names and data that are
// hardest to write down, for the record-delete-restore round trips.
#pragma once

#include <memory>
#include <string>

#include "platform/AnsiCodePage.h"
#ifdef _WIN32
#include "platform/win/WinAnsiCodePage.h"
#endif

namespace tidewell::testing {

// The fixture text of the tree at HKEY_CURRENT_USER\<path>. The registry
// editor ends every string it imports with a zero, so `unterminatedString`
// leaves out the one string value that has none when an import by it is to be
// compared.
inline std::string EveryTypeTree(const std::string& path,
                                 bool unterminatedString = true) {
  const std::string key = "[HKEY_CURRENT_USER\\" + path;
  std::string text = key + "]\n" + R"(
  @="default \"quoted\" C:\\dir\\"
  "Sz"="plain"
  "EmptySz"=""
  "Latin"="café"
  "Exp"=expand:"%SystemRoot%\\system32"
  "EmptyExp"=hex(2):
  "Multi"=multi:"one","two","",""
  "Bin"=hex:00,01,fe,ff
  "EmptyBin"=hex:
  "LongBin"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,2f
  "Dword"=dword:deadbeef
  "OddDword"=hex(4):01,02,03
  "BigEndian"=hex(5):00,00,00,01
  "Link"=hex(6):41,00
  "Qword"=qword:0102030405060708
  "None"=hex(0):
  "Resource"=hex(8):01,02
  "Unknown"=hex(1a2b):09
  "Lines"=hex(1):61,00,0d,00,0a,00,62,00,00,00
  "name \"with\" quotes"="1"
  "back\\slash\\"="2"
  "equals=sign"="3"
  "@"="at sign"
)";
  if (unterminatedString) text += "\"NoTerminator\"=hex(1):61,00,62,00\n";
  text += key + "\\B]\n\"b\"=dword:2\n";
  text += key + "\\A]\n\"a\"=dword:1\n";
  text += key + "\\A\\C]\n\"c\"=\"deep\"\n";
  return text;
}

// The code page undo files are written in where the test runs.
inline std::unique_ptr<TAnsiCodePage> SystemCodePage() {
#ifdef _WIN32
  return std::make_unique<WinAnsiCodePage>();
#else
  return std::make_unique<Windows1252CodePage>();
#endif
}

}  // namespace tidewell::testing
