// JSON text for the console's machine-readable output.
#pragma once

#include <string>

namespace tidewell {

// `text` (UTF-8) as a JSON string with its quotes. Quotes, backslashes and
// control characters are escaped; a byte sequence that is not valid UTF-8
// (the registry allows lone UTF-16 surrogates in names, which reach this
// program in their three-byte form) becomes \u escapes or U+FFFD, so that the
// document is always valid UTF-8 JSON.
std::string JsonString(const std::string& text);

}  // namespace tidewell
