#include "platform/win/WinAnsiCodePage.h"

#include <windows.h>

#include <climits>

#include "platform/TextEncoding.h"

namespace tidewell {
namespace {

std::u16string BytesToUtf16(const std::string& bytes) {
  if (bytes.empty() || bytes.size() > INT_MAX) return std::u16string();
  const int size = static_cast<int>(bytes.size());
  const int length =
      MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  if (length <= 0) return std::u16string();
  std::u16string text(static_cast<std::size_t>(length), u'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), size,
                      reinterpret_cast<wchar_t*>(text.data()), length);
  return text;
}

}  // namespace

bool WinAnsiCodePage::FromUtf8(const std::string& text, std::string& bytes) {
  bytes.clear();
  const std::u16string wide = Utf8ToUtf16(text);
  if (wide.empty()) return true;
  if (wide.size() > INT_MAX) return false;
  const auto* source = reinterpret_cast<const wchar_t*>(wide.data());
  const int size = static_cast<int>(wide.size());
  // With UTF-8 as the system code page (a Windows 10 option) the default
  // character cannot be asked for; the round trip below still catches what
  // does not convert (unpaired surrogates).
  const bool utf8 = GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultOut = utf8 ? nullptr : &usedDefault;
  const int length = WideCharToMultiByte(CP_ACP, flags, source, size, nullptr,
                                         0, nullptr, usedDefaultOut);
  if (length <= 0) return false;
  bytes.resize(static_cast<std::size_t>(length));
  WideCharToMultiByte(CP_ACP, flags, source, size, bytes.data(), length,
                      nullptr, usedDefaultOut);
  return !usedDefault && BytesToUtf16(bytes) == wide;
}

std::string WinAnsiCodePage::ToUtf8(const std::string& bytes) {
  return Utf16ToUtf8(BytesToUtf16(bytes));
}

}  // namespace tidewell
