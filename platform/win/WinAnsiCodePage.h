// The ANSI code page the running Windows system uses (CP_ACP).
#pragma once

#include "platform/AnsiCodePage.h"

namespace tidewell {

class WinAnsiCodePage : public TAnsiCodePage {
 public:
  // WideCharToMultiByte without best-fit replacements; a conversion counts as
  // lossless only when no default character was used and the bytes convert
  // back to the same text.
  bool FromUtf8(const std::string& text, std::string& bytes) override;
  // MultiByteToWideChar.
  std::string ToUtf8(const std::string& bytes) override;
};

}  // namespace tidewell
