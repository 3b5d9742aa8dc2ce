// Saves what a person would see on the screen as a BMP file, taken through
// Win32 itself while the windows are still up.
#pragma once

#include <string>

namespace tidewell::testing {

// The folder for files a person looks at after a test run: "artifacts" next
// to the bin folder of the test executable (the build folder). Created.
std::string ArtifactsFolder();

// Captures the whole screen into `path`; false when it could not.
bool SaveScreenshot(const std::string& path);

}  // namespace tidewell::testing
