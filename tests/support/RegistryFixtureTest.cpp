// Fixtures plant exactly the bytes the W API would store, reject malformed
// text with the line at fault, and print trees back in the same format.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "registry/MemoryRegistryStore.h"
#include "tests/support/RegistryFixture.h"

namespace tidewell {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::vector<std::uint8_t> Utf16(std::u16string text) {
  std::vector<std::uint8_t> bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return bytes;
}

class RegistryFixture : public ::testing::Test {
 protected:
  // Type and bytes of a value, or type 0xFFFFFFFF when it cannot be read.
  std::pair<std::uint32_t, std::vector<std::uint8_t>> Read(
      TRootKey root, const std::string& path, const std::string& name) {
    KeyHandle key = kNoKey;
    std::uint32_t type = 0xFFFFFFFFu;
    std::vector<std::uint8_t> data;
    if (store_.OpenKey(RootHandle(root), path, access::KeyRead, &key) == 0) {
      if (store_.QueryValue(key, name, &type, &data) != 0) type = 0xFFFFFFFFu;
      store_.CloseKey(key);
    }
    return {type, data};
  }
  bool Exists(TRootKey root, const std::string& path) {
    KeyHandle key = kNoKey;
    if (store_.OpenKey(RootHandle(root), path, access::KeyRead, &key) != 0)
      return false;
    store_.CloseKey(key);
    return true;
  }
  std::string LoadError(const std::string& text) {
    try {
      LoadRegistryFixture(store_, text);
    } catch (const std::invalid_argument& e) {
      return std::string("invalid: ") + e.what();
    } catch (const std::runtime_error& e) {
      return std::string("runtime: ") + e.what();
    }
    return "loaded";
  }

  MemoryRegistryStore store_;
};

TEST_F(RegistryFixture, PlantsEveryKindOfValueAsTheWApiStoresIt) {
  LoadRegistryFixture(store_, R"(
    REGEDIT4
    ; a comment line, then a blank one

    [HKEY_LOCAL_MACHINE\Software\Foo]   ; trailing comment
    "Name"="text with \\ backslash and \" quote"
    @="default value"
    "Count"=dword:0000001a
    "Big"=qword:1122334455667788
    "Bin"=hex:01,02,ff
    "Empty"=hex:
    "Exp"=expand:"%SystemRoot%\\x.dll"
    "Multi"=multi:"a","b"
    "NoItems"=multi:
    "Raw"=hex(7):61,00,00,00   ; any type
    "Long"=hex(0):01,02,\
           03,04
  )");
  using P = std::pair<std::uint32_t, std::vector<std::uint8_t>>;
  const TRootKey hklm = TRootKey::LocalMachine;
  const std::string foo = "Software\\Foo";
  EXPECT_EQ(Read(hklm, foo, "Name"),
            P(regtype::String, Utf16(u"text with \\ backslash and \" quote" + std::u16string(1, 0))));
  EXPECT_EQ(Read(hklm, foo, ""), P(regtype::String, Utf16(std::u16string(u"default value") + u'\0')));
  EXPECT_EQ(Read(hklm, foo, "Count"), P(regtype::Dword, {0x1a, 0, 0, 0}));
  EXPECT_EQ(Read(hklm, foo, "Big"),
            P(regtype::Qword, {0x88, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11}));
  EXPECT_EQ(Read(hklm, foo, "Bin"), P(regtype::Binary, {1, 2, 0xff}));
  EXPECT_EQ(Read(hklm, foo, "Empty"), P(regtype::Binary, {}));
  EXPECT_EQ(Read(hklm, foo, "Exp"),
            P(regtype::ExpandString, Utf16(std::u16string(u"%SystemRoot%\\x.dll") + u'\0')));
  EXPECT_EQ(Read(hklm, foo, "Multi"),
            P(regtype::MultiString, Utf16(std::u16string(u"a\0b\0\0", 5))));
  EXPECT_EQ(Read(hklm, foo, "NoItems"), P(regtype::MultiString, {0, 0}));
  EXPECT_EQ(Read(hklm, foo, "Raw"), P(regtype::MultiString, {0x61, 0, 0, 0}));
  EXPECT_EQ(Read(hklm, foo, "Long"), P(regtype::None, {1, 2, 3, 4}));
}

TEST_F(RegistryFixture, DeletesKeyTreesAndValues) {
  LoadRegistryFixture(store_, R"(
    [HKEY_CURRENT_USER\Software\Gone\A\B]
    [HKEY_CURRENT_USER\Software\Gone\C]
    [HKEY_CURRENT_USER\Software\Kept]
    "Old"="x"
    "Also"="y"
  )");
  LoadRegistryFixture(store_, R"(
    [-HKEY_CURRENT_USER\Software\Gone]
    [-HKEY_CURRENT_USER\Software\NeverWas]
    [HKEY_CURRENT_USER\Software\Kept]
    "Old"=-
    "NeverWas"=-
  )");
  EXPECT_FALSE(Exists(TRootKey::CurrentUser, "Software\\Gone"));
  EXPECT_TRUE(Exists(TRootKey::CurrentUser, "Software\\Kept"));
  EXPECT_EQ(Read(TRootKey::CurrentUser, "Software\\Kept", "Old").first, 0xFFFFFFFFu);
  EXPECT_EQ(Read(TRootKey::CurrentUser, "Software\\Kept", "Also").first, regtype::String);
  EXPECT_EQ(store_.OpenHandleCount(), 0u);
}

TEST_F(RegistryFixture, MalformedLinesNameTheirNumberAndText) {
  EXPECT_EQ(LoadError("[HKEY_CURRENT_USER\\A]\n\n\"v\"=hex:1,02"),
            "invalid: registry fixture line 3: expected a byte of two hex digits: \"v\"=hex:1,02");
  EXPECT_EQ(LoadError("[HKEY_CURRENT_USER\\A"),
            "invalid: registry fixture line 1: missing ']': [HKEY_CURRENT_USER\\A");
  EXPECT_EQ(LoadError("  [HKEY_NOWHERE\\A]"),
            "invalid: registry fixture line 1: unknown root key \"HKEY_NOWHERE\": [HKEY_NOWHERE\\A]");
  EXPECT_EQ(LoadError("\"v\"=\"x\""),
            "invalid: registry fixture line 1: value outside any key: \"v\"=\"x\"");
  EXPECT_THAT(LoadError("[HKEY_CURRENT_USER\\A]\n\"v\"=\"a\\tb\""),
              HasSubstr("line 2: unknown escape \\t"));
  EXPECT_THAT(LoadError("[HKEY_CURRENT_USER\\A]\n\"v\"=\"x\" extra"),
              HasSubstr("line 2: unexpected text after the value"));
  EXPECT_THAT(LoadError("[HKEY_CURRENT_USER\\A]\n\"v\"=\"open"),
              HasSubstr("line 2: unterminated string"));
  EXPECT_THAT(LoadError("[HKEY_CURRENT_USER\\A]\n\"v\" \"x\""),
              HasSubstr("line 2: expected '=' after the value name"));
  EXPECT_THAT(LoadError("[HKEY_CURRENT_USER\\A]\n\"v\"=dword:123456789"),
              HasSubstr("line 2: hex number too long"));
  EXPECT_THAT(LoadError("[HKEY_CURRENT_USER\\A]\n\"v\"=word:1"),
              HasSubstr("line 2: unknown value data"));
}

TEST_F(RegistryFixture, StoreFailuresNameTheKeyOrValueAndTheCode) {
  EXPECT_EQ(LoadError("[HKEY_CURRENT_USER\\" + std::string(256, 'k') + "]"),
            "runtime: registry fixture: cannot create key HKEY_CURRENT_USER\\" +
                std::string(256, 'k') + " (error 87)");
  EXPECT_EQ(LoadError("[HKEY_CURRENT_USER\\A]\n\"" + std::string(16384, 'v') + "\"=\"x\""),
            "runtime: registry fixture: cannot set value \"" + std::string(16384, 'v') +
                "\" of HKEY_CURRENT_USER\\A (error 87)");
  EXPECT_EQ(LoadError("[-HKEY_USERS\\S-1-5-21-0-0-0-1000]"),
            "runtime: registry fixture: cannot delete key HKEY_USERS\\S-1-5-21-0-0-0-1000 (error 5)");
  EXPECT_EQ(store_.OpenHandleCount(), 0u);
}

TEST_F(RegistryFixture, DumpPrintsTheTreeInEnumerationOrder) {
  LoadRegistryFixture(store_, R"(
    [HKEY_CURRENT_USER\Software\Dump\b]
    [HKEY_CURRENT_USER\Software\Dump\A_]
    [HKEY_CURRENT_USER\Software\Dump\AB]
    "z"=dword:00000001
    [HKEY_CURRENT_USER\Software\Dump]
    "second"="2"
    @="first"
    "q"=qword:0000000000000010
    "m"=multi:"x","y \"q\""
    "bin"=hex:
    "NoTerminator"=hex(1):41,00
    "Inner zero"=hex(1):41,00,00,00,42,00,00,00
    "Line break"=hex(2):41,00,0a,00,00,00
    "Short dword"=hex(4):01,02,03
    "Empty item"=hex(7):61,00,00,00,00,00,00,00
    "None"=hex(0):
    "Custom"=hex(4711):ff
  )");
  EXPECT_EQ(DumpRegistryTree(store_, TRootKey::CurrentUser, "Software\\Dump"),
            "[HKEY_CURRENT_USER\\Software\\Dump]\n"
            "\"second\"=\"2\"\n"
            "@=\"first\"\n"
            "\"q\"=qword:0000000000000010\n"
            "\"m\"=multi:\"x\",\"y \\\"q\\\"\"\n"
            "\"bin\"=hex:\n"
            "\"NoTerminator\"=hex(1):41,00\n"
            "\"Inner zero\"=hex(1):41,00,00,00,42,00,00,00\n"
            "\"Line break\"=hex(2):41,00,0a,00,00,00\n"
            "\"Short dword\"=hex(4):01,02,03\n"
            "\"Empty item\"=hex(7):61,00,00,00,00,00,00,00\n"
            "\"None\"=hex(0):\n"
            "\"Custom\"=hex(4711):ff\n"
            "[HKEY_CURRENT_USER\\Software\\Dump\\AB]\n"
            "\"z\"=dword:00000001\n"
            "[HKEY_CURRENT_USER\\Software\\Dump\\A_]\n"
            "[HKEY_CURRENT_USER\\Software\\Dump\\b]\n");
  EXPECT_EQ(DumpRegistryTree(store_, TRootKey::CurrentUser, "Software\\Missing"), "");
  EXPECT_EQ(store_.OpenHandleCount(), 0u);
}

TEST_F(RegistryFixture, DumpLoadsBackIntoTheSameTree) {
  const std::string fixture = R"(
    [HKEY_LOCAL_MACHINE\Software\Classes\.txt]
    @="txtfile"
    "Content Type"="text/plain"
    [HKEY_LOCAL_MACHINE\Software\Classes\.txt\ShellNew]
    "NullFile"=""
    "Data"=hex(3):00,01
    [HKEY_LOCAL_MACHINE\Software\Classes\txtfile\shell\open\command]
    @=expand:"%SystemRoot%\\notepad.exe \"%1\""
    "Odd"=hex(1):41
    "Wide"="Grüß😀"
  )";
  LoadRegistryFixture(store_, fixture);
  const std::string first = DumpRegistryTree(store_, TRootKey::LocalMachine, "Software\\Classes");
  MemoryRegistryStore copy;
  LoadRegistryFixture(copy, first);
  EXPECT_EQ(DumpRegistryTree(copy, TRootKey::LocalMachine, "Software\\Classes"), first);
  EXPECT_THAT(first, HasSubstr("@=expand:\"%SystemRoot%\\\\notepad.exe \\\"%1\\\"\"\n"));
  EXPECT_THAT(first, HasSubstr("\"Odd\"=hex(1):41\n"));
}

TEST_F(RegistryFixture, DumpOfClassesRootShowsTheMergedView) {
  LoadRegistryFixture(store_, R"(
    [HKEY_CURRENT_USER\Software\Classes\.cfg]
    @="user"
    [HKEY_LOCAL_MACHINE\Software\Classes\.cfg]
    @="machine"
    [HKEY_LOCAL_MACHINE\Software\Classes\.ini]
  )");
  EXPECT_EQ(DumpRegistryTree(store_, TRootKey::ClassesRoot, ""),
            "[HKEY_CLASSES_ROOT]\n"
            "[HKEY_CLASSES_ROOT\\.cfg]\n"
            "@=\"user\"\n"
            "[HKEY_CLASSES_ROOT\\.ini]\n");
}

}  // namespace
}  // namespace tidewell
