// Root keys, value types, access masks and result codes as the Windows registry
// defines them. Kept free of <windows.h> so the portable core can use them; the
// numbers are the documented Windows values, so the Windows store passes them
// through unchanged.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tidewell {

// The four roots, identified by their standard Windows handle values.
enum class TRootKey : std::uint32_t {
  ClassesRoot = 0x80000000u,
  CurrentUser = 0x80000001u,
  LocalMachine = 0x80000002u,
  Users = 0x80000003u,
};

// "HKEY_CLASSES_ROOT" and so on; the empty text for any other value.
std::string RootKeyName(TRootKey root);

// Parses a root's full name (letter case ignored); false for anything else.
bool ParseRootKeyName(const std::string& name, TRootKey* root);

// The bytes a string value holds: UTF-16LE with its terminating zero code
// unit, as the W API stores a REG_SZ or REG_EXPAND_SZ.
std::vector<std::uint8_t> RegStringBytes(const std::string& text);

// The data-type classes the registry object reports.
enum class TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

// Registry value types (REG_*).
namespace regtype {
constexpr std::uint32_t None = 0;
constexpr std::uint32_t String = 1;        // REG_SZ
constexpr std::uint32_t ExpandString = 2;  // REG_EXPAND_SZ
constexpr std::uint32_t Binary = 3;        // REG_BINARY
constexpr std::uint32_t Dword = 4;         // REG_DWORD
constexpr std::uint32_t DwordBigEndian = 5;
constexpr std::uint32_t Link = 6;
constexpr std::uint32_t MultiString = 7;  // REG_MULTI_SZ
constexpr std::uint32_t ResourceList = 8;
constexpr std::uint32_t FullResourceDescriptor = 9;
constexpr std::uint32_t ResourceRequirementsList = 10;
constexpr std::uint32_t Qword = 11;
}  // namespace regtype

// Key access rights (KEY_* and the standard DELETE right).
namespace access {
constexpr std::uint32_t QueryValue = 0x0001;
constexpr std::uint32_t SetValue = 0x0002;
constexpr std::uint32_t CreateSubKey = 0x0004;
constexpr std::uint32_t EnumerateSubKeys = 0x0008;
constexpr std::uint32_t Notify = 0x0010;
constexpr std::uint32_t CreateLink = 0x0020;
constexpr std::uint32_t Delete = 0x00010000;
constexpr std::uint32_t ReadControl = 0x00020000;
constexpr std::uint32_t KeyRead = 0x00020019;
constexpr std::uint32_t KeyWrite = 0x00020006;
constexpr std::uint32_t KeyAllAccess = 0x000F003F;
// KEY_READ without the change-notification right.
constexpr std::uint32_t KeyReadNoNotify = 0x00020009;
// Which view of a 64-bit registry an open works in (KEY_WOW64_64KEY,
// KEY_WOW64_32KEY); without either, the view of the calling process.
constexpr std::uint32_t Wow64Key64 = 0x0100;
constexpr std::uint32_t Wow64Key32 = 0x0200;
}  // namespace access

// Win32 result codes the stores return (ERROR_*).
namespace regerr {
constexpr long Success = 0;
constexpr long FileNotFound = 2;
constexpr long AccessDenied = 5;
constexpr long InvalidHandle = 6;
constexpr long NotEnoughMemory = 8;
constexpr long InvalidParameter = 87;
constexpr long FilenameExceedsRange = 206;
constexpr long MoreData = 234;
constexpr long NoMoreItems = 259;
constexpr long AlreadyExists = 183;
constexpr long NotSupported = 50;
constexpr long BadPathname = 161;
constexpr long KeyDeleted = 1018;
constexpr long ChildMustBeVolatile = 1021;
}  // namespace regerr

// The registry's own limits, in UTF-16 code units.
constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxValueNameLength = 16383;

}  // namespace tidewell
