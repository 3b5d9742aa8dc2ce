// The console program's help texts.
#pragma once

#include <string>

namespace tidewell {

// The help for a topic as TCliRequest::HelpTopic names it; false for a topic
// there is no help for.
bool CliHelpText(const std::string& topic, std::string& text);

}  // namespace tidewell
