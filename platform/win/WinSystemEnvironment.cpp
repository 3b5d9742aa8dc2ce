#include <windows.h>
#include <shlobj.h>
// <windows.h> turns this name into a macro; the seam's method keeps its own.
#undef GetEnvironmentVariable

#include "platform/win/WinSystemEnvironment.h"

#include "platform/win/WideText.h"

namespace tidewell {
namespace {

// Folders are handed out without a trailing backslash.
std::string Folder(std::wstring path) {
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  return NarrowText(path);
}

// Calls a "fill this buffer" API that answers the size it needs when the
// buffer is too small (with or without the terminator), 0 on failure.
template <typename Call>
std::wstring GrowingBuffer(Call&& call) {
  std::wstring buffer(MAX_PATH + 1, L'\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD length = call(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::wstring();
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.assign(length + 1, L'\0');
  }
  return std::wstring();
}

std::string ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT,
                                path))) {
    return std::string();
  }
  return Folder(path);
}

}  // namespace

std::string WinSystemEnvironment::EnvironmentVariable(const std::string& name) {
  const std::wstring wideName = WideText(name);
  return NarrowText(GrowingBuffer([&](wchar_t* buffer, DWORD size) {
    return ::GetEnvironmentVariableW(wideName.c_str(), buffer, size);
  }));
}

std::string WinSystemEnvironment::ExpandEnvironmentText(
    const std::string& text) {
  if (text.empty()) return text;
  const std::wstring source = WideText(text);
  // ExpandEnvironmentStringsW counts the terminator in its answer.
  const DWORD needed = ::ExpandEnvironmentStringsW(source.c_str(), nullptr, 0);
  if (needed == 0) return text;
  std::wstring buffer(needed + 1, L'\0');
  const DWORD length = ::ExpandEnvironmentStringsW(
      source.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  if (length == 0 || length > buffer.size()) return text;
  buffer.resize(length - 1);
  return NarrowText(buffer);
}

std::string WinSystemEnvironment::WindowsFolder() {
  return Folder(GrowingBuffer([](wchar_t* buffer, DWORD size) {
    return static_cast<DWORD>(::GetWindowsDirectoryW(buffer, size));
  }));
}

std::string WinSystemEnvironment::SystemFolder() {
  return Folder(GrowingBuffer([](wchar_t* buffer, DWORD size) {
    return static_cast<DWORD>(::GetSystemDirectoryW(buffer, size));
  }));
}

std::string WinSystemEnvironment::FontsFolder() {
  return ShellFolder(CSIDL_FONTS);
}

std::string WinSystemEnvironment::ProgramFilesFolder() {
  return ShellFolder(CSIDL_PROGRAM_FILES);
}

std::string WinSystemEnvironment::CommonFilesFolder() {
  return ShellFolder(CSIDL_PROGRAM_FILES_COMMON);
}

std::string WinSystemEnvironment::TempFolder() {
  return Folder(GrowingBuffer([](wchar_t* buffer, DWORD size) {
    return ::GetTempPathW(size, buffer);
  }));
}

std::string WinSystemEnvironment::ProgramFileName() {
  // GetModuleFileNameW answers the buffer size when it had to cut the name.
  std::wstring buffer(MAX_PATH + 1, L'\0');
  for (int attempt = 0; attempt < 6; ++attempt) {
    const DWORD length = ::GetModuleFileNameW(
        nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::string();
    if (length < buffer.size()) {
      buffer.resize(length);
      return NarrowText(buffer);
    }
    buffer.assign(buffer.size() * 2, L'\0');
  }
  return std::string();
}

TWowLayout WinSystemEnvironment::WowLayout() {
#ifdef _WIN64
  return TWowLayout::Native64;
#else
  // Looked up rather than linked: older 32-bit systems lack the function,
  // and on them there is only one view.
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  const auto isWow64 = kernel == nullptr
                           ? nullptr
                           : reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(
                                 ::GetProcAddress(kernel, "IsWow64Process")));
  BOOL wow64 = FALSE;
  if (isWow64 != nullptr && isWow64(::GetCurrentProcess(), &wow64) && wow64) {
    return TWowLayout::Wow32;
  }
  return TWowLayout::None;
#endif
}

}  // namespace tidewell
