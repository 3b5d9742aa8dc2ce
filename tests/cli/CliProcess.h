// Runs tidewell-cli.exe as a separate process, the way a script would: from
// a program folder of the test's own, with standard input empty and standard
// output and error captured in files.
#pragma once

#include <string>
#include <vector>

namespace tidewell::testing {

struct CliRun {
  unsigned long exitCode = 0;
  std::string out;
  std::string err;
};

// Copies the tidewell-cli.exe built next to the test into `appFolder` (a
// Windows path ending with a backslash), so that the files it keeps in its
// folder are the test's.
void InstallCli(const std::string& appFolder);
// Runs the copy in `appFolder` with the arguments; throws when it cannot be
// started or does not end within five minutes.
CliRun RunInstalledCli(const std::string& appFolder,
                       const std::vector<std::string>& arguments);

}  // namespace tidewell::testing
