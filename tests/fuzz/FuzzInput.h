// Shared by the fuzz targets: the first input byte picks the code page model
// (single-byte, 932 or UTF-8), the rest is text as Windows would hand it over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "CodePageModel.h"

namespace lvfuzz {

struct Input {
    lvtest::CodePage codePage;
    std::string text;  // up to the first NUL, as the platform's text ends there
};

inline Input ReadInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return {lvtest::CodePage::SingleByte, std::string()};
    constexpr lvtest::CodePage kCodePages[] = {lvtest::CodePage::SingleByte, lvtest::CodePage::Japanese,
                                               lvtest::CodePage::Utf8};
    const lvtest::CodePage codePage = kCodePages[data[0] % 3];
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
    lvtest::UseCodePage(codePage);
    return {codePage, text};
}

inline std::string AsciiUpperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// A broken property is a finding: abort so that libFuzzer keeps the input.
inline void Require(bool holds) {
    if (!holds) std::abort();
}

}  // namespace lvfuzz
