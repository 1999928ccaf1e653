// The launcher's one place that catches errors: it shows them in a message
// box and turns them into exit code 1.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace lv {

// The report's text: the error kind, the module and module-relative offset of
// the code that raised it, and its message ending in one full stop.
std::string FormatErrorReport(const std::string& kindName, const std::string& moduleName, std::uintptr_t offset,
                              const std::string& message);

// Runs `body` and returns its exit code; an error escaping it is shown in a
// task-modal error box and gives exit code 1.
int RunWithErrorReport(const std::function<int()>& body);

}  // namespace lv
