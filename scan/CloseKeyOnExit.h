// Closes the key open in a registry object however a check's walk ends, so
// that a check ended by a failure leaves no key open and the next check, which
// may work on the same root, opens its paths from the root again.
#pragma once

#include "registry/Registry.h"

namespace tidewell {

class CloseKeyOnExit {
 public:
  explicit CloseKeyOnExit(TRegistry& registry) : registry_(registry) {}
  ~CloseKeyOnExit() { registry_.CloseKey(); }
  CloseKeyOnExit(const CloseKeyOnExit&) = delete;
  CloseKeyOnExit& operator=(const CloseKeyOnExit&) = delete;

 private:
  TRegistry& registry_;
};

}  // namespace tidewell
