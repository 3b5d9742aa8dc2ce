// EOSError: a failed system call, with the system's own message for its error
// code as the text.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tidewell {

class EOSError : public std::runtime_error {
 public:
  explicit EOSError(std::uint32_t code);
  std::uint32_t Code() const { return code_; }

 private:
  std::uint32_t code_;
};

// FormatMessage's text for the code, without the trailing line break.
std::string SystemErrorMessage(std::uint32_t code);

}  // namespace tidewell
