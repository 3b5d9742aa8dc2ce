#include "app/win/SystemError.h"

#include <windows.h>

#include "platform/TextEncoding.h"

namespace tidewell {

std::string SystemErrorMessage(std::uint32_t code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
          FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::u16string text;
  if (length != 0 && buffer != nullptr) {
    text.assign(reinterpret_cast<const char16_t*>(buffer), length);
  }
  LocalFree(buffer);
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' ||
                           text.back() == u' ')) {
    text.pop_back();
  }
  if (text.empty()) return "System error " + std::to_string(code);
  return Utf16ToUtf8(text);
}

EOSError::EOSError(std::uint32_t code)
    : std::runtime_error(SystemErrorMessage(code)), code_(code) {}

}  // namespace tidewell
