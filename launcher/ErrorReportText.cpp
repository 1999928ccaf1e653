#include "AnsiText.h"
#include "ErrorReport.h"

namespace lv {
namespace {

// Eight upper-case hexadecimal digits, as a 32-bit code offset is shown.
std::string EightHexDigits(std::uintptr_t value) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text(8, '0');
    for (std::size_t i = text.size(); i-- > 0; value >>= 4) text[i] = kDigits[value & 0xF];
    return text;
}

}  // namespace

std::string FormatErrorReport(const std::string& kindName, const std::string& moduleName, std::uintptr_t offset,
                              const std::string& message) {
    std::string text =
        "Exception " + kindName + " in module " + moduleName + " at " + EightHexDigits(offset) + ".\r\n" + message;
    if (!message.empty() && message.back() != '.') text += '.';
    text += "\r\n";
    return CutToWholeChars(text, 1023);
}

}  // namespace lv
