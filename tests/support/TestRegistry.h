// The registry the shared test suites run against: natively the in-memory
// store, on Windows (under Wine) the real registry of the throwaway prefix.
// Every test works below its own sandbox key and removes it afterwards.
#pragma once

#include <memory>
#include <string>

#include "registry/Registry.h"
#include "registry/RegistryStore.h"

namespace tidewell::testing {

// "memory" or "windows".
const char* RegistryBackendName();

// A store for one test. Under Windows this refuses to run (aborts) outside a
// throwaway Wine prefix made by scripts/wine-run.sh, so a developer's own
// registry is never written.
std::unique_ptr<RegistryStore> MakeTestRegistryStore();

// A unique key path below HKEY_CURRENT_USER\Software for one test, removed
// (with everything below it) when the object goes away.
class SandboxKey {
 public:
  SandboxKey(RegistryStore& store, TRootKey root, const std::string& testName);
  ~SandboxKey();
  SandboxKey(const SandboxKey&) = delete;
  SandboxKey& operator=(const SandboxKey&) = delete;

  TRootKey Root() const { return root_; }
  // Path below the root, without leading or trailing backslash.
  const std::string& Path() const { return path_; }

 private:
  RegistryStore& store_;
  TRootKey root_;
  std::string path_;
};

}  // namespace tidewell::testing
