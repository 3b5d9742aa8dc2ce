// Runs the parser's fuzz target over seed files and many deterministic
// mutations of them, so that its invariants are checked in every build.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size);

namespace {

const std::vector<std::string>& Seeds() {
  static const std::vector<std::string> seeds = {
      "REGEDIT4\r\n\r\n;   Double click on this file in Explorer\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\T]\r\n@=\"C:\\\\x.exe\"\r\n"
      "\"Path\"=\"C:\\\\Old\\\\\"\r\n\"N\"=dword:0000001A\r\n"
      "\"B\"=hex:01,02,\\\r\n  03,04\r\n",
      "[HKEY_LOCAL_MACHINE\\Software\\T]\n\"E\"=hex(2):25,00\n"
      "\"M\"=hex(7):61,00,00\n\"Q\"=hex(b):01,02,03,04,05,06,07,08\n"
      "\"a \\\"q\\\"=b\"=\"1\"\n\"@\"=\"at\"\n",
      "[HKEY_CLASSES_ROOT\\.x]\r\"S\"=\"dword:5\"\r\"Z\"=hex:\r"
      "[HKEY_USERS\\.DEFAULT\\T\r\n\"x\"=hex(1):61,\\\r\n\r\n",
      "[HKEY_CURRENT_CONFIG\\T]\n\"Bad\"=hex:01,,02\n\"D\"=dword:zz\n"
      "\"old\"name\"=\"v\"\n=\n\"\n[]\n[\n\\\n",
  };
  return seeds;
}

std::string Mutate(std::string input, std::mt19937& random) {
  static const std::string kInteresting = "[]\"\\=@,:;\r\n hexdword()0aF";
  const int edits = 1 + static_cast<int>(random() % 8);
  for (int i = 0; i < edits; ++i) {
    const std::size_t at = input.empty() ? 0 : random() % (input.size() + 1);
    switch (random() % 5) {
      case 0:  // insert a character the notation cares about
        input.insert(at, 1, kInteresting[random() % kInteresting.size()]);
        break;
      case 1:  // insert any byte
        input.insert(at, 1, static_cast<char>(random() & 0xFF));
        break;
      case 2:  // drop a run of bytes
        if (!input.empty()) input.erase(std::min(at, input.size() - 1), 1 + random() % 16);
        break;
      case 3:  // duplicate a run of bytes
        input.insert(at, input.substr(random() % (input.size() + 1), random() % 32));
        break;
      default:  // cut the file short
        input.resize(at);
        break;
    }
  }
  return input;
}

int Feed(const std::string& input) {
  return LLVMFuzzerTestOneInput(
      reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

TEST(UndoParserFuzzTest, SeedsAndTheirMutationsKeepEveryInvariant) {
  std::mt19937 random(20051108);
  int runs = 0;
  for (const std::string& seed : Seeds()) {
    ASSERT_EQ(Feed(seed), 0);
    for (int i = 0; i < 2000; ++i) {
      ASSERT_EQ(Feed(Mutate(seed, random)), 0);
      ++runs;
    }
  }
  EXPECT_EQ(runs, 8000);
}

TEST(UndoParserFuzzTest, EdgeInputs) {
  for (const std::string& input :
       {std::string(), std::string(1, '\0'), std::string("\r"),
        std::string("\n\n\n"), std::string(100000, '\\'),
        std::string("\"B\"=hex:") + std::string(50000, ','),
        std::string(20000, '=') + "\r\n" + std::string(20000, '['),
        [] {  // unfinished hex lines, each joining onto the next
          std::string lines;
          for (int i = 0; i < 50000; ++i) lines += "\"B\"=hex:01,\\\r\n";
          return lines;
        }()}) {
    EXPECT_EQ(Feed(input), 0);
  }
}

}  // namespace
