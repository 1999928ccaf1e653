// The launcher's one place that catches errors: it reports them and turns
// them into exit code 1.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace lv {

// The report's text: the error kind, the module and module-relative offset of
// the code that raised it, and its message ending in one full stop.
std::string FormatErrorReport(const std::string& kindName, const std::string& moduleName, std::uintptr_t offset,
                              const std::string& message);

// Runs `body` and returns its exit code; an error escaping it gives exit
// code 1, its report written to standard error where there is one, and shown
// in a task-modal error box where a user can see it.
int RunWithErrorReport(const std::function<int()>& body);

}  // namespace lv
