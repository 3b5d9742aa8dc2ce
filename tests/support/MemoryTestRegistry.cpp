#include "registry/MemoryRegistryStore.h"
#include "tests/support/TestRegistry.h"

namespace tidewell::testing {

const char* RegistryBackendName() { return "memory"; }

std::unique_ptr<RegistryStore> MakeTestRegistryStore() {
  return std::make_unique<MemoryRegistryStore>();
}

}  // namespace tidewell::testing
