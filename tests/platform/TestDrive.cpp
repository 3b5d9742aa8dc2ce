#include "tests/platform/TestDrive.h"

#include <atomic>
#include <fstream>
#include <map>
#include <stdexcept>
#include <system_error>

#include "platform/TextEncoding.h"

#ifdef _WIN32
#include <windows.h>
#undef GetEnvironmentVariable
#include "platform/win/WinFileSystem.h"
#include "platform/win/WinSystemEnvironment.h"
#else
#include <unistd.h>
#include "platform/NativeFileSystem.h"
#include "platform/NativeSystemEnvironment.h"
#endif

namespace tidewell::testing {
namespace fs = std::filesystem;

namespace {

std::atomic<int> drive_count{0};

std::string UniqueName() {
#ifdef _WIN32
  const unsigned long process = ::GetCurrentProcessId();
#else
  const unsigned long process = static_cast<unsigned long>(::getpid());
#endif
  return "tidewell-" + std::to_string(process) + "-" +
         std::to_string(drive_count.fetch_add(1));
}

#ifdef _WIN32
fs::path ToHost(const std::string& windowsPath) {
  const std::u16string wide = Utf8ToUtf16(windowsPath);
  return fs::path(std::wstring(wide.begin(), wide.end()));
}
#endif

}  // namespace

TestDrive::TestDrive() {
#ifdef _WIN32
  WinSystemEnvironment environment;
  root_ = environment.TempFolder() + "\\" + UniqueName();
  hostRoot_ = ToHost(root_);
  hostTest_ = hostRoot_;
  fs::create_directories(hostTest_);
  fileSystem_ = std::make_unique<WinFileSystem>();
#else
  hostRoot_ = fs::temp_directory_path() / UniqueName();
  hostTest_ = hostRoot_ / "c" / "Test";
  fs::create_directories(hostTest_);
  root_ = "C:\\Test";
  fileSystem_ = std::make_unique<NativeFileSystem>(hostRoot_);
#endif
}

TestDrive::~TestDrive() {
  fileSystem_.reset();
  std::error_code ignored;
  fs::remove_all(hostRoot_, ignored);
}

std::string TestDrive::Path(const std::string& relative) const {
  return relative.empty() ? root_ : root_ + "\\" + relative;
}

fs::path TestDrive::HostPath(const std::string& relative) const {
  fs::path host = hostTest_;
  std::string part;
  for (const char c : relative + "\\") {
    if (c == '\\' || c == '/') {
      if (!part.empty()) {
#ifdef _WIN32
        host /= ToHost(part);
#else
        host /= part;
#endif
      }
      part.clear();
    } else {
      part += c;
    }
  }
  return host;
}

void TestDrive::MakeFile(const std::string& relative,
                         const std::string& content) {
  const fs::path host = HostPath(relative);
  fs::create_directories(host.parent_path());
  std::ofstream out(host, std::ios::binary);
  out << content;
  if (!out) throw std::runtime_error("cannot make test file " + relative);
}

void TestDrive::MakeFolder(const std::string& relative) {
  fs::create_directories(HostPath(relative));
}

#ifdef _WIN32

struct TestEnvironment::Saved {
  std::map<std::wstring, std::pair<bool, std::wstring>> values;
};

TestEnvironment::TestEnvironment()
    : environment_(std::make_unique<WinSystemEnvironment>()),
      saved_(std::make_unique<Saved>()) {}

TestEnvironment::~TestEnvironment() {
  for (const auto& [name, value] : saved_->values) {
    ::SetEnvironmentVariableW(name.c_str(),
                              value.first ? value.second.c_str() : nullptr);
  }
}

void TestEnvironment::SetVariable(const std::string& name,
                                  const std::string& value) {
  const std::u16string n16 = Utf8ToUtf16(name);
  const std::u16string v16 = Utf8ToUtf16(value);
  const std::wstring wideName(n16.begin(), n16.end());
  if (saved_->values.find(wideName) == saved_->values.end()) {
    wchar_t buffer[32768];
    const DWORD length = ::GetEnvironmentVariableW(wideName.c_str(), buffer, 32768);
    saved_->values[wideName] = {length != 0, std::wstring(buffer, length)};
  }
  ::SetEnvironmentVariableW(wideName.c_str(),
                            std::wstring(v16.begin(), v16.end()).c_str());
}

#else

struct TestEnvironment::Saved {};

TestEnvironment::TestEnvironment()
    : environment_(std::make_unique<NativeSystemEnvironment>(TSpecialFolders{})) {}

TestEnvironment::~TestEnvironment() = default;

void TestEnvironment::SetVariable(const std::string& name,
                                  const std::string& value) {
  static_cast<NativeSystemEnvironment&>(*environment_).SetVariable(name, value);
}

#endif

}  // namespace tidewell::testing
