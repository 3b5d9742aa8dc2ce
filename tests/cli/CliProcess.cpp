#include "tests/cli/CliProcess.h"

#include <windows.h>

#include <stdexcept>

#include "platform/TextEncoding.h"
#include "platform/win/WideText.h"

namespace tidewell::testing {
namespace {

std::string FolderOfTest() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::u16string folder(reinterpret_cast<const char16_t*>(path), length);
  folder.resize(folder.find_last_of(u'\\') + 1);
  return Utf16ToUtf8(folder);
}

// An inheritable handle for the child's standard input or output.
HANDLE OpenForChild(const std::string& path, bool write) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE handle = CreateFileW(WideText(path).c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                              write ? CREATE_ALWAYS : OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + path);
  return handle;
}

std::string ReadAll(const std::string& path) {
  HANDLE file = CreateFileW(WideText(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "";
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    bytes.append(buffer, read);
  }
  CloseHandle(file);
  return bytes;
}

std::string Quoted(const std::string& argument) {
  // Enough for the arguments of these tests: no argument ends in a backslash
  // before a quote, and none holds a quote.
  return argument.find_first_of(" \t") == std::string::npos && !argument.empty()
             ? argument
             : "\"" + argument + "\"";
}

}  // namespace

void InstallCli(const std::string& appFolder) {
  const std::string built = FolderOfTest() + "tidewell-cli.exe";
  const std::string copy = appFolder + "tidewell-cli.exe";
  if (!CopyFileW(WideText(built).c_str(), WideText(copy).c_str(), FALSE)) {
    throw std::runtime_error("cannot copy " + built + " to " + copy);
  }
}

CliRun RunInstalledCli(const std::string& appFolder,
                       const std::vector<std::string>& arguments) {
  const std::string program = appFolder + "tidewell-cli.exe";
  std::string commandLine = Quoted(program);
  for (const std::string& argument : arguments) commandLine += " " + Quoted(argument);
  const std::string outPath = appFolder + "..\\cli-out.txt";
  const std::string errPath = appFolder + "..\\cli-err.txt";

  HANDLE input = OpenForChild("NUL", false);
  HANDLE output = OpenForChild(outPath, true);
  HANDLE error = OpenForChild(errPath, true);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = output;
  startup.hStdError = error;
  PROCESS_INFORMATION process{};
  std::wstring mutableLine = WideText(commandLine);
  const BOOL started = CreateProcessW(WideText(program).c_str(), mutableLine.data(), nullptr,
                                      nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                                      &startup, &process);
  CloseHandle(input);
  CloseHandle(output);
  CloseHandle(error);
  if (!started) throw std::runtime_error("cannot start " + commandLine);
  const DWORD waited = WaitForSingleObject(process.hProcess, 5 * 60 * 1000);
  CliRun run;
  GetExitCodeProcess(process.hProcess, &run.exitCode);
  if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 99);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (waited != WAIT_OBJECT_0) throw std::runtime_error("no end of " + commandLine);
  run.out = ReadAll(outPath);
  run.err = ReadAll(errPath);
  return run;
}

}  // namespace tidewell::testing
