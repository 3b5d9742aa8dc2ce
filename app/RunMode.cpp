#include "app/RunMode.h"

namespace tidewell {

std::string RunMode;

}  // namespace tidewell
