// JSON strings as the console program writes them: always valid JSON in
// valid UTF-8, whatever bytes a registry name or value holds.
#include <gtest/gtest.h>

#include <string>

#include "cli/JsonText.h"
#include "tests/cli/JsonReader.h"

namespace tidewell {
namespace {

TEST(JsonString, EscapesQuotesBackslashesAndControlCharacters) {
  EXPECT_EQ(JsonString(""), "\"\"");
  EXPECT_EQ(JsonString("C:\\Dir\\\"x\""), "\"C:\\\\Dir\\\\\\\"x\\\"\"");
  EXPECT_EQ(JsonString("a\tb\r\nc\b\f"), "\"a\\tb\\r\\nc\\b\\f\"");
  EXPECT_EQ(JsonString(std::string("nul\0x\x01\x1f\x7f", 8)),
            "\"nul\\u0000x\\u0001\\u001F\x7f\"");
}

TEST(JsonString, KeepsUtf8AndEscapesWhatIsNotValidUtf8) {
  EXPECT_EQ(JsonString("Caf\xC3\xA9 \xE4\xB8\xAD \xF0\x9F\x98\x80"),
            "\"Caf\xC3\xA9 \xE4\xB8\xAD \xF0\x9F\x98\x80\"");
  // A lone surrogate in its three-byte form, as a registry name can hold it.
  EXPECT_EQ(JsonString("a\xED\xB0\x80z"), "\"a\\uDC00z\"");
  // Stray, overlong and cut-off bytes.
  EXPECT_EQ(JsonString("\x80\xC0\xAF\xE4\xB8"), "\"\\uFFFD\\uFFFD\\uFFFD\\uFFFD\\uFFFD\"");
}

TEST(JsonString, EveryByteValueGivesAStringAJsonReaderAccepts) {
  std::string everything;
  for (int byte = 0; byte < 256; ++byte) everything += static_cast<char>(byte);
  everything += "\xED\xA0\x80\xED\xB0\x80\xC3\xA9";
  const testing::JsonValue value = testing::ParseJson(JsonString(everything));
  EXPECT_EQ(value.kind, testing::JsonValue::Kind::String);
  EXPECT_EQ(value.text.substr(0, 128), everything.substr(0, 128));
}

}  // namespace
}  // namespace tidewell
