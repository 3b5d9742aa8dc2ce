#include "tests/support/TestRegistry.h"

namespace tidewell::testing {

SandboxKey::SandboxKey(RegistryStore& store, TRootKey root,
                       const std::string& testName)
    : store_(store),
      root_(root),
      path_("Software\\TidewellTest\\" + testName) {
  TRegistry registry(store_);
  registry.SetRootKey(root_);
  registry.DeleteKey("\\" + path_);
  if (!registry.OpenKey("\\" + path_, true)) {
    throw std::runtime_error("cannot create the sandbox key " + path_);
  }
}

SandboxKey::~SandboxKey() {
  TRegistry registry(store_);
  registry.SetRootKey(root_);
  registry.DeleteKey("\\" + path_);
}

}  // namespace tidewell::testing
