// Native builds step through ANSI text with this model of the Windows code
// pages instead of CharNextA: single-byte (1252), Japanese (932) or UTF-8,
// which the launcher steps through as it does on Windows.
#pragma once

namespace lvtest {

enum class CodePage { SingleByte, Japanese, Utf8 };

void UseCodePage(CodePage codePage);

// Selects a code page for the life of the object.
class CodePageScope {
public:
    explicit CodePageScope(CodePage codePage) { UseCodePage(codePage); }
    ~CodePageScope() { UseCodePage(CodePage::SingleByte); }
    CodePageScope(const CodePageScope&) = delete;
    CodePageScope& operator=(const CodePageScope&) = delete;
};

}  // namespace lvtest
