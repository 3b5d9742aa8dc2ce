// The system's ANSI code page: the single-byte (or double-byte) text of
// REGEDIT4 files. Text inside the program is UTF-8; this seam turns it into the
// code page's bytes and back, and says when a character has no byte form, so
// that a caller never writes a record that would read back changed.
#pragma once

#include <string>

namespace tidewell {

class TAnsiCodePage {
 public:
  virtual ~TAnsiCodePage() = default;
  // The code-page bytes of `text` (UTF-8) in `bytes`. False when at least one
  // character has no byte form of its own; it then stands as "?" in `bytes`.
  // NUL characters are kept.
  virtual bool FromUtf8(const std::string& text, std::string& bytes) = 0;
  // The UTF-8 text of code-page bytes. Every byte sequence has one.
  virtual std::string ToUtf8(const std::string& bytes) = 0;
};

// Windows-1252 exactly as Windows maps it, the five bytes it leaves undefined
// (81, 8D, 8F, 90, 9D) included: they map to and from the C1 control
// characters of the same number. The code page of a western Windows and the
// one used wherever there is no system code page to ask (native builds).
class Windows1252CodePage : public TAnsiCodePage {
 public:
  bool FromUtf8(const std::string& text, std::string& bytes) override;
  std::string ToUtf8(const std::string& bytes) override;
};

}  // namespace tidewell
