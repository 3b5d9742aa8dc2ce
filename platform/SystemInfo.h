// Facts about the running system that a few tasks depend on: its version
// numbers, when it was last started, and the user's decimal separator.
#pragma once

#include <cstdint>
#include <string>

namespace tidewell {

// The platform identifiers of OSVERSIONINFO.
enum class TPlatformId : std::uint32_t { Win32s = 0, Windows9x = 1, WindowsNt = 2 };

struct TSystemVersion {
  TPlatformId Platform = TPlatformId::WindowsNt;
  std::uint32_t Major = 0;
  std::uint32_t Minor = 0;
  std::uint32_t Build = 0;
  // The service-pack text (szCSDVersion): "Service Pack 3", or " A" on 98 SE.
  std::string ServicePack;
};

class TSystemInfo {
 public:
  virtual ~TSystemInfo() = default;
  virtual TSystemVersion Version() = 0;
  // When the system was last started, in seconds since 1970-01-01 UTC; two
  // readings in one session of the system agree to a second or two.
  virtual std::int64_t BootTime() = 0;
  // The user's decimal separator ("." or "," or the like).
  virtual std::string DecimalSeparator() = 0;
};

}  // namespace tidewell
