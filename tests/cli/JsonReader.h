// A strict JSON reader for checking the console program's output: it accepts
// only what RFC 8259 allows (and UTF-8 text), so a test that reads a document
// with it also proves the document valid.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tidewell::testing {

struct JsonValue {
  enum class Kind { Null, Bool, Number, String, Array, Object };
  Kind kind = Kind::Null;
  bool boolean = false;
  double number = 0;
  std::string text;  // String: the decoded UTF-8 text
  std::vector<JsonValue> items;
  std::map<std::string, JsonValue> members;
  std::vector<std::string> memberOrder;

  const JsonValue& operator[](const std::string& name) const;
};

// Throws std::runtime_error naming the offset of the first fault.
JsonValue ParseJson(const std::string& document);

}  // namespace tidewell::testing
