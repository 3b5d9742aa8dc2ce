#include "tests/cli/JsonReader.h"

#include <cstdint>
#include <stdexcept>

#include "platform/TextEncoding.h"

namespace tidewell::testing {
namespace {

class Reader {
 public:
  explicit Reader(const std::string& text) : text_(text) {}

  JsonValue Document() {
    JsonValue value = Value();
    Blank();
    if (at_ != text_.size()) Fail("text after the document");
    return value;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(at_));
  }
  void Blank() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                  text_[at_] == '\n' || text_[at_] == '\r')) {
      ++at_;
    }
  }
  bool Take(char c) {
    Blank();
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }
  void Expect(char c) {
    if (!Take(c)) Fail(std::string("expected '") + c + "'");
  }
  bool Word(const char* word) {
    const std::string w = word;
    if (text_.compare(at_, w.size(), w) != 0) return false;
    at_ += w.size();
    return true;
  }

  JsonValue Value() {
    Blank();
    if (at_ >= text_.size()) Fail("unexpected end");
    JsonValue value;
    const char c = text_[at_];
    if (c == '{') {
      value.kind = JsonValue::Kind::Object;
      ++at_;
      if (Take('}')) return value;
      do {
        Blank();
        if (at_ >= text_.size() || text_[at_] != '"') Fail("expected a member name");
        const std::string name = String();
        Expect(':');
        if (value.members.count(name) != 0) Fail("duplicate member " + name);
        value.memberOrder.push_back(name);
        value.members[name] = Value();
      } while (Take(','));
      Expect('}');
    } else if (c == '[') {
      value.kind = JsonValue::Kind::Array;
      ++at_;
      if (Take(']')) return value;
      do {
        value.items.push_back(Value());
      } while (Take(','));
      Expect(']');
    } else if (c == '"') {
      value.kind = JsonValue::Kind::String;
      value.text = String();
    } else if (Word("true") || Word("false")) {
      value.kind = JsonValue::Kind::Bool;
      value.boolean = text_[at_ - 1] == 'e' && text_[at_ - 2] == 'u';
    } else if (Word("null")) {
    } else {
      value.kind = JsonValue::Kind::Number;
      const std::size_t start = at_;
      if (at_ < text_.size() && text_[at_] == '-') ++at_;
      const std::size_t digits = at_;
      while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
      if (at_ == digits) Fail("expected a value");
      if (text_[digits] == '0' && at_ - digits > 1) Fail("leading zero");
      if (at_ < text_.size() && (text_[at_] == '.' || text_[at_] == 'e' || text_[at_] == 'E')) {
        Fail("only whole numbers are expected here");
      }
      value.number = std::stod(text_.substr(start, at_ - start));
    }
    return value;
  }

  unsigned Hex4() {
    if (at_ + 4 > text_.size()) Fail("short \\u escape");
    unsigned unit = 0;
    for (int i = 0; i < 4; ++i) {
      const char h = text_[at_++];
      unit <<= 4;
      if (h >= '0' && h <= '9') unit |= static_cast<unsigned>(h - '0');
      else if (h >= 'a' && h <= 'f') unit |= static_cast<unsigned>(h - 'a' + 10);
      else if (h >= 'A' && h <= 'F') unit |= static_cast<unsigned>(h - 'A' + 10);
      else Fail("bad \\u escape");
    }
    return unit;
  }


  std::string String() {
    ++at_;  // the opening quote
    std::string out;
    while (true) {
      if (at_ >= text_.size()) Fail("unterminated string");
      const auto c = static_cast<unsigned char>(text_[at_]);
      if (c == '"') {
        ++at_;
        return out;
      }
      if (c < 0x20) Fail("unescaped control character");
      if (c == '\\') {
        ++at_;
        if (at_ >= text_.size()) Fail("unterminated escape");
        const char e = text_[at_++];
        switch (e) {
          case '"': out += '"'; break;
          case '\\': out += '\\'; break;
          case '/': out += '/'; break;
          case 'b': out += '\b'; break;
          case 'f': out += '\f'; break;
          case 'n': out += '\n'; break;
          case 'r': out += '\r'; break;
          case 't': out += '\t'; break;
          case 'u': out += Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(Hex4()))); break;
          default: Fail("bad escape");
        }
        continue;
      }
      // UTF-8: the lead byte's length, continuation bytes, no surrogates or
      // overlong forms.
      std::size_t length = c < 0x80 ? 1 : (c >= 0xC2 && c <= 0xDF) ? 2
                                       : (c >= 0xE0 && c <= 0xEF)   ? 3
                                       : (c >= 0xF0 && c <= 0xF4)   ? 4
                                                                    : 0;
      if (length == 0 || at_ + length > text_.size()) Fail("not UTF-8");
      std::uint32_t cp = length == 1 ? c : c & (0x7Fu >> length);
      for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text_[at_ + i]);
        if ((next & 0xC0) != 0x80) Fail("not UTF-8");
        cp = (cp << 6) | (next & 0x3Fu);
      }
      const std::uint32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
      if (cp < minimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        Fail("not UTF-8");
      }
      out.append(text_, at_, length);
      at_ += length;
    }
  }

  const std::string& text_;
  std::size_t at_ = 0;
};

}  // namespace

const JsonValue& JsonValue::operator[](const std::string& name) const {
  const auto found = members.find(name);
  if (found == members.end()) throw std::runtime_error("JSON: no member " + name);
  return found->second;
}

JsonValue ParseJson(const std::string& document) { return Reader(document).Document(); }

}  // namespace tidewell::testing
