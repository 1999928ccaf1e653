// Scanning 8-bit text in the system's ANSI code page.
//
// On a double-byte code page (932 and friends) the second byte of a character
// may equal '\\', ':' or '.', so every search here steps through whole
// characters and never treats a trailing byte as a delimiter or as the start
// of a match. With UTF-8 as the code page a character takes up to four bytes.
#pragma once

#include <cstddef>
#include <string>

namespace lv {

// The start of the character after the one at `position`; `position` itself
// when it points at the terminating NUL. Provided by the platform layer
// (the code page's lead bytes on Windows, a code-page model in native tests).
const char* NextAnsiChar(const char* position);

// The same for UTF-8: a lead byte with the continuation bytes it announces, as
// far as they are there. Any other byte is a character of its own, so a
// malformed sequence never swallows a delimiter or the terminating NUL.
const char* NextUtf8Char(const char* position);

// Index of the last character of `text` that occurs in `delimiters`, or npos.
std::size_t FindLastOf(const std::string& text, const char* delimiters);

// Index of the first `wanted` character of `text`, or npos.
std::size_t FindFirst(const std::string& text, char wanted);

// Whether `part` occurs in `text` starting at a character boundary.
// An empty `part` is contained in nothing.
bool ContainsText(const std::string& text, const std::string& part);

// Everything up to and including the last '\\' or ':'; empty when there is neither.
std::string DirectoryPart(const std::string& path);

// `text` with the ASCII letters A to Z in lower case and every other byte as it is.
std::string AsciiLowerCase(std::string text);

// At most `maxBytes` bytes of `text`, never ending inside a multi-byte character.
std::string CutToWholeChars(const std::string& text, std::size_t maxBytes);

}  // namespace lv
