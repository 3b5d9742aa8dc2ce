#include "platform/TextEncoding.h"

namespace tidewell {
namespace {

// Decodes one code point; malformed bytes come back as U+DC80 + byte.
char32_t DecodeUtf8(const std::string& s, std::size_t& i) {
  const auto byte = [&](std::size_t k) {
    return static_cast<unsigned char>(s[k]);
  };
  const unsigned char b0 = byte(i);
  const auto malformed = [&]() -> char32_t {
    ++i;
    return 0xDC00 + b0;
  };
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  int length;
  char32_t cp;
  if ((b0 & 0xE0) == 0xC0) {
    length = 2;
    cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    length = 3;
    cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    length = 4;
    cp = b0 & 0x07;
  } else {
    return malformed();
  }
  if (i + length > s.size()) return malformed();
  for (int k = 1; k < length; ++k) {
    const unsigned char b = byte(i + k);
    if ((b & 0xC0) != 0x80) return malformed();
    cp = (cp << 6) | (b & 0x3F);
  }
  static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMinimum[length] || cp > 0x10FFFF) return malformed();
  // A 3-byte surrogate is accepted: it is how an unpaired UTF-16 surrogate
  // travels through UTF-8 here.
  i += length;
  return cp;
}

void EncodeUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::u16string Utf8ToUtf16(const std::string& text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const char32_t cp = DecodeUtf8(text, i);
    if (cp >= 0x10000) {
      const char32_t v = cp - 0x10000;
      out += static_cast<char16_t>(0xD800 + (v >> 10));
      out += static_cast<char16_t>(0xDC00 + (v & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

std::string Utf16ToUtf8(const std::u16string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() &&
        text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      const char32_t cp =
          0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) +
          (text[i + 1] - 0xDC00);
      EncodeUtf8(cp, out);
      ++i;
    } else if (c >= 0xDC80 && c <= 0xDCFF) {
      // A byte that was not UTF-8 on the way in goes back out as that byte.
      out += static_cast<char>(c - 0xDC00);
    } else {
      EncodeUtf8(c, out);
    }
  }
  return out;
}

std::string Utf16LeBytes(const std::u16string& text, bool terminate) {
  std::string out;
  out.reserve((text.size() + 1) * 2);
  for (char16_t c : text) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
  if (terminate) out.append(2, '\0');
  return out;
}

char16_t UpcaseChar(char16_t c) {
  if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 32 : c;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x17F) {
    // Latin Extended-A pairs upper/lower as even/odd, with a shifted block.
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
      return (c % 2 == 0) ? c - 1 : c;
    if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    return (c % 2 == 1) ? c - 1 : c;
  }
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 32;  // Greek
  if (c >= 0x430 && c <= 0x44F) return c - 32;                // Cyrillic
  if (c >= 0x450 && c <= 0x45F) return c - 80;
  if (c >= 0xFF41 && c <= 0xFF5A) return c - 32;  // full-width Latin
  return c;
}

char16_t DowncaseChar(char16_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c == 0x178) return 0xFF;
  if (c >= 0x100 && c <= 0x17F) {
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
      return (c % 2 == 1) ? c + 1 : c;
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F)
      return c;
    return (c % 2 == 0) ? c + 1 : c;
  }
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 32;
  return c;
}

namespace {
template <char16_t (*Map)(char16_t)>
std::string MapCase(const std::string& text) {
  bool ascii = true;
  for (char ch : text) {
    if (static_cast<unsigned char>(ch) >= 0x80) {
      ascii = false;
      break;
    }
  }
  if (ascii) {
    std::string out = text;
    for (char& ch : out) ch = static_cast<char>(Map(static_cast<unsigned char>(ch)));
    return out;
  }
  std::u16string wide = Utf8ToUtf16(text);
  for (char16_t& c : wide) c = Map(c);
  return Utf16ToUtf8(wide);
}
}  // namespace

std::string UpcaseUtf8(const std::string& text) { return MapCase<UpcaseChar>(text); }
std::string DowncaseUtf8(const std::string& text) { return MapCase<DowncaseChar>(text); }

bool NamesEqual(const std::string& a, const std::string& b) {
  if (a.size() == b.size()) {
    bool same = true;
    for (std::size_t i = 0; i < a.size() && same; ++i) {
      const unsigned char x = a[i], y = b[i];
      if (x >= 0x80 || y >= 0x80) return UpcaseUtf8(a) == UpcaseUtf8(b);
      same = UpcaseChar(x) == UpcaseChar(y);
    }
    return same;
  }
  return UpcaseUtf8(a) == UpcaseUtf8(b);
}

std::size_t Utf16Length(const std::string& text) {
  std::size_t units = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const char32_t cp = DecodeUtf8(text, i);
    units += cp >= 0x10000 ? 2 : 1;
  }
  return units;
}

}  // namespace tidewell
