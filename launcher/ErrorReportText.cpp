#include <cstdio>

#include "AnsiText.h"
#include "ErrorReport.h"

namespace lv {

std::string FormatErrorReport(const std::string& kindName, const std::string& moduleName,
                              std::uintptr_t offset, const std::string& message) {
    char location[16];
    std::snprintf(location, sizeof location, "%08lX", static_cast<unsigned long>(offset));
    std::string text = "Exception " + kindName + " in module " + moduleName + " at " + location + ".\r\n" + message;
    if (!message.empty() && message.back() != '.') text += '.';
    text += "\r\n";
    return CutToWholeChars(text, 1023);
}

}  // namespace lv
