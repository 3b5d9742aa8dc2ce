#include "platform/AnsiCodePage.h"

#include "platform/TextEncoding.h"

namespace tidewell {
namespace {

// The characters of bytes 80 to 9F; the rest of the code page is Latin-1.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t ByteToChar(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
  return byte;
}

bool CharToByte(char16_t c, unsigned char& byte) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
    byte = static_cast<unsigned char>(c);
    return true;
  }
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == c) {
      byte = static_cast<unsigned char>(0x80 + i);
      return true;
    }
  }
  return false;
}

}  // namespace

bool Windows1252CodePage::FromUtf8(const std::string& text,
                                   std::string& bytes) {
  bytes.clear();
  bool lossless = true;
  for (char16_t c : Utf8ToUtf16(text)) {
    unsigned char byte;
    if (!CharToByte(c, byte)) {
      byte = '?';
      lossless = false;
    }
    bytes += static_cast<char>(byte);
  }
  return lossless;
}

std::string Windows1252CodePage::ToUtf8(const std::string& bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (char byte : bytes) text += ByteToChar(static_cast<unsigned char>(byte));
  return Utf16ToUtf8(text);
}

}  // namespace tidewell
