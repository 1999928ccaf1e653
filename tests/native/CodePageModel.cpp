#include "CodePageModel.h"

#include "AnsiText.h"

namespace {
lvtest::CodePage current = lvtest::CodePage::SingleByte;

// Lead bytes of code page 932 (Shift JIS).
bool IsJapaneseLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
}  // namespace

void lvtest::UseCodePage(CodePage codePage) { current = codePage; }

// As CharNextA: a lead byte followed by the terminating NUL is a character of its own.
const char* lv::NextAnsiChar(const char* position) {
    if (*position == '\0') return position;
    if (current == lvtest::CodePage::Utf8) return NextUtf8Char(position);
    if (current == lvtest::CodePage::Japanese && IsJapaneseLeadByte(static_cast<unsigned char>(position[0])) &&
        position[1] != '\0')
        return position + 2;
    return position + 1;
}
