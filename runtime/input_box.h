// The run time's modal input box: a prompt, an edit field with initial text, OK and Cancel.
#pragma once

#include <optional>
#include <string>

namespace runtime {

// Shows the box (owned by the active window of this thread) and returns the text on OK.
std::optional<std::string> ShowInputBox(const std::string& prompt, const std::string& title,
                                        const std::string& initial);

}  // namespace runtime
