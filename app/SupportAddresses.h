// Where Tidewell's users find help: the product's questions-and-answers page
// and the support mail address. The help window's buttons open them and show
// them as their tooltips; this is the one place to change them.
#pragma once

namespace tidewell {

inline constexpr const char* kProductFaqAddress = "https://www.tidewell.example/faq/";
inline constexpr const char* kSupportEmailAddress = "support@tidewell.example";

}  // namespace tidewell
