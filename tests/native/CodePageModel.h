// Native builds step through ANSI text with this model of the Windows code
// pages instead of CharNextA: single-byte (1252) or Japanese (932).
#pragma once

namespace lvtest {

enum class CodePage { SingleByte, Japanese };

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
