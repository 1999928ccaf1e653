#include "AnsiText.h"

#include <cstring>

namespace lv {
namespace {

// Calls `visit(index)` for the start of every character of `text` until it
// returns false. Stops at the first NUL, as the platform's text functions do.
template <typename Visit>
void ForEachCharStart(const std::string& text, Visit visit) {
    const char* const begin = text.c_str();
    for (const char* p = begin; *p != '\0'; p = NextAnsiChar(p)) {
        if (!visit(static_cast<std::size_t>(p - begin))) return;
    }
}

}  // namespace

const char* NextUtf8Char(const char* position) {
    const auto lead = static_cast<unsigned char>(*position);
    if (lead == 0) return position;
    int continuations = 0;
    if (lead >= 0xC0 && lead < 0xE0) continuations = 1;
    if (lead >= 0xE0 && lead < 0xF0) continuations = 2;
    if (lead >= 0xF0 && lead < 0xF8) continuations = 3;
    const char* next = position + 1;
    while (continuations-- > 0 && (static_cast<unsigned char>(*next) & 0xC0) == 0x80) ++next;
    return next;
}

std::size_t FindLastOf(const std::string& text, const char* delimiters) {
    std::size_t found = std::string::npos;
    ForEachCharStart(text, [&](std::size_t i) {
        if (std::strchr(delimiters, text[i]) != nullptr) found = i;
        return true;
    });
    return found;
}

std::size_t FindFirst(const std::string& text, char wanted) {
    std::size_t found = std::string::npos;
    ForEachCharStart(text, [&](std::size_t i) {
        if (text[i] != wanted) return true;
        found = i;
        return false;
    });
    return found;
}

bool ContainsText(const std::string& text, const std::string& part) {
    if (part.empty()) return false;
    bool found = false;
    ForEachCharStart(text, [&](std::size_t i) {
        found = text.compare(i, part.size(), part) == 0;
        return !found;
    });
    return found;
}

std::string DirectoryPart(const std::string& path) {
    const std::size_t last = FindLastOf(path, "\\:");
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string AsciiLowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string CutToWholeChars(const std::string& text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t end = 0;
    ForEachCharStart(text, [&](std::size_t i) {
        const std::size_t next = static_cast<std::size_t>(NextAnsiChar(text.c_str() + i) - text.c_str());
        if (next > maxBytes) return false;
        end = next;
        return true;
    });
    return text.substr(0, end);
}

}  // namespace lv
