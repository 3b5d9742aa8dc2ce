// The pieces of REGEDIT4 notation that undo files are made of: escaped text,
// DWORDs, and hex data with its continuation lines. The writer and the reader
// share them so that what one writes the other reads back unchanged.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tidewell {

// Doubles every backslash, then puts a backslash before every double quote:
// C:\Dir\ becomes C:\\Dir\\, say "hi" becomes say \"hi\".
std::string EscapeRegEditText(const std::string& text);

// One pass from left to right: \\ gives \, \" gives ", every other character
// (a lone backslash included) stays as it is.
std::string UnescapeRegEditText(const std::string& text);

// Where the escaped text that starts after the double quote at `open` ends:
// the index of the double quote closing it, \\ and \" pairs skipped, or
// std::string_view::npos when no quote closes it. A lone backslash is an
// ordinary character, as UnescapeRegEditText takes it.
std::size_t RegEditTextEnd(std::string_view text, std::size_t open);

// "dword:" and the value in eight upper-case hexadecimal digits.
std::string DwordNotation(std::uint32_t value);

// "hex:" for REG_BINARY, "hex(N):" for every other type, N in lower-case
// hexadecimal as the registry editor writes it (hex(2):, hex(7):, hex(b):).
std::string HexNotationTag(std::uint32_t type);

// `head` (the part up to and including the hex tag) followed by the bytes as
// upper-case hex pairs separated by ",". Whenever a line is longer than 80
// characters after a byte and its comma, and more bytes follow, the line ends
// with a backslash and the next one starts with two blanks. `headWidth` is the
// width of `head` in the file, which differs from its UTF-8 length when it
// holds characters beyond ASCII.
std::vector<std::string> HexNotationLines(const std::string& head,
                                          std::size_t headWidth,
                                          const std::vector<std::uint8_t>& bytes);

// A hexadecimal number of up to 32 bits (digits 0-9, A-F, a-f, leading zeros
// allowed, nothing else). False for anything else, the empty text included.
bool ParseHexNumber(const std::string& text, std::uint32_t& value);

// The same for a number of up to 64 bits (a QWORD).
bool ParseHexNumber(const std::string& text, std::uint64_t& value);

// Comma-separated hex numbers, each giving its lowest eight bits as one byte.
// The empty text gives no bytes; a trailing comma adds none. False when a
// piece is not a hex number (an empty piece between two commas included).
bool ParseHexBytes(const std::string& text, std::vector<std::uint8_t>& bytes);

}  // namespace tidewell
