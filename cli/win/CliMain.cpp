// tidewell-cli.exe: the console program's entry point. It wires the commands
// to the real registry, file system and console and leaves everything else to
// RunCli. Output goes to the console as UTF-16 when it is one, and as UTF-8
// bytes when it is redirected to a file or a pipe.
#include <windows.h>

#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "app/ApplicationFolder.h"
#include "app/win/WinVersionInfo.h"
#include "cli/CliProgram.h"
#include "platform/TextEncoding.h"
#include "platform/win/WideText.h"
#include "platform/win/WinAnsiCodePage.h"
#include "platform/win/WinClock.h"
#include "platform/win/WinFileSystem.h"
#include "platform/win/WinProcessRunner.h"
#include "platform/win/WinSystemEnvironment.h"
#include "registry/win/WinRegistryStore.h"

namespace tidewell {
namespace {

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         GetConsoleMode(handle, &mode) != 0;
}

// Collects UTF-8 text and hands it to a standard handle on flush.
class THandleBuffer : public std::streambuf {
 public:
  explicit THandleBuffer(DWORD which)
      : handle_(GetStdHandle(which)), console_(IsConsole(handle_)) {}
  ~THandleBuffer() override { sync(); }

 protected:
  int_type overflow(int_type c) override {
    if (c != traits_type::eof()) pending_ += static_cast<char>(c);
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    pending_.append(text, static_cast<std::size_t>(count));
    return count;
  }
  int sync() override {
    if (pending_.empty() || handle_ == nullptr || handle_ == INVALID_HANDLE_VALUE) {
      pending_.clear();
      return 0;
    }
    if (console_) {
      // Hold back a UTF-8 sequence that is not complete yet.
      std::size_t complete = pending_.size();
      std::size_t back = 0;
      while (back < 3 && back < complete &&
             (static_cast<unsigned char>(pending_[complete - 1 - back]) & 0xC0u) == 0x80u) {
        ++back;
      }
      if (back < complete) {
        const auto lead = static_cast<unsigned char>(pending_[complete - 1 - back]);
        const std::size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (need > back + 1) complete -= back + 1;
      }
      const std::u16string wide = Utf8ToUtf16(pending_.substr(0, complete));
      DWORD written = 0;
      WriteConsoleW(handle_, wide.data(), static_cast<DWORD>(wide.size()), &written,
                    nullptr);
      pending_.erase(0, complete);
    } else {
      DWORD written = 0;
      WriteFile(handle_, pending_.data(), static_cast<DWORD>(pending_.size()), &written,
                nullptr);
      pending_.clear();
    }
    return 0;
  }

 private:
  HANDLE handle_;
  bool console_;
  std::string pending_;
};

std::string ReadConsoleLine() {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  std::u16string line;
  wchar_t c = 0;
  DWORD read = 0;
  while (ReadConsoleW(input, &c, 1, &read, nullptr) && read == 1 && c != L'\n') {
    if (c != L'\r') line += static_cast<char16_t>(c);
  }
  return Utf16ToUtf8(line);
}

std::string FullPathOf(const std::string& path) {
  std::vector<wchar_t> buffer(32768);
  const DWORD length = GetFullPathNameW(WideText(path).c_str(),
                                        static_cast<DWORD>(buffer.size()),
                                        buffer.data(), nullptr);
  if (length == 0 || length >= buffer.size()) return path;
  return NarrowText(buffer.data(), length);
}

}  // namespace
}  // namespace tidewell

int wmain(int argc, wchar_t** argv) {
  using namespace tidewell;
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) {
    arguments.push_back(NarrowText(std::wstring(argv[i])));
  }
  THandleBuffer outBuffer(STD_OUTPUT_HANDLE);
  THandleBuffer errBuffer(STD_ERROR_HANDLE);
  std::ostream out(&outBuffer);
  std::ostream err(&errBuffer);

  WinRegistryStore store;
  WinFileSystem fileSystem;
  WinSystemEnvironment environment;
  WinClock clock;
  WinAnsiCodePage codePage;
  WinProcessRunner processes;
  const std::string programFile = environment.ProgramFileName();
  TCliSystem system{store, fileSystem, environment, clock, codePage, processes,
                    ApplicationFolderOf(programFile),
                    ReadVersionInfo(programFile).ProductName, out, err,
                    false, false, {}, {}};
  system.ProgressOnTerminal = IsConsole(GetStdHandle(STD_ERROR_HANDLE));
  system.InputIsTerminal = IsConsole(GetStdHandle(STD_INPUT_HANDLE));
  system.ReadAnswer = ReadConsoleLine;
  system.FullPath = FullPathOf;
  ApplicationFolder = system.ApplicationFolder;

  const int status = RunCli(arguments, system);
  out.flush();
  err.flush();
  return status;
}
