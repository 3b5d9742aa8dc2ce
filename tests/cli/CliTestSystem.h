// The console commands over a test system: the in-memory registry (natively
// and under Wine alike, so that the results do not depend on what a prefix
// holds), a test drive holding the program's folder, and string streams.
#pragma once

#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliProgram.h"
#include "platform/AnsiCodePage.h"
#include "platform/NativeClock.h"
#include "registry/MemoryRegistryStore.h"
#include "tests/platform/TestDrive.h"

namespace tidewell::testing {

// Started programs are played by `Play`; none can be started when it is unset.
class PlayedProcesses : public TProcessRunner {
 public:
  std::optional<unsigned long> RunAndWait(const std::string& commandLine,
                                          const std::string& workingFolder) override {
    if (!Play) return std::nullopt;
    return Play(commandLine, workingFolder);
  }
  std::function<std::optional<unsigned long>(const std::string&, const std::string&)> Play;
};

class CliTestSystem {
 public:
  CliTestSystem() { drive.MakeFolder("App"); }

  // Runs the program with these arguments; Out and Err hold only this run's
  // output afterwards.
  int Run(const std::vector<std::string>& arguments) {
    out.str("");
    err.str("");
    return RunCli(arguments, system);
  }
  std::string Out() const { return out.str(); }
  std::string Err() const { return err.str(); }
  std::string AppPath(const std::string& name) const { return drive.Path("App\\" + name); }

  MemoryRegistryStore store;
  TestDrive drive;
  TestEnvironment environment;
  NativeClock clock;
  Windows1252CodePage codePage;
  PlayedProcesses processes;
  std::ostringstream out;
  std::ostringstream err;
  TCliSystem system{store, drive.FileSystem(), environment.Environment(), clock,
                    codePage, processes, drive.Root() + "\\App\\", "Tidewell", out, err,
                    false, false, {}, {}};
};

}  // namespace tidewell::testing
