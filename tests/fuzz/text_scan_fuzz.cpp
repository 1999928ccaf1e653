// The double-byte-aware scans against plain byte searches: a match they
// report is always a real one, and with a single-byte code page they agree.
// So do the delimiter searches in UTF-8, whose characters never hide an ASCII byte.
#include "AnsiText.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const lvfuzz::Input input = lvfuzz::ReadInput(data, size);
    const bool singleByte = input.codePage == lvtest::CodePage::SingleByte;
    const bool asciiStandsAlone = input.codePage != lvtest::CodePage::Japanese;
    // Text and searched part are separated by the first newline.
    const std::size_t split = input.text.find('\n');
    const std::string text = input.text.substr(0, split);
    const std::string part = split == std::string::npos ? std::string() : input.text.substr(split + 1);

    const bool contained = lv::ContainsText(text, part);
    lvfuzz::Require(!contained || text.find(part) != std::string::npos);
    if (singleByte) lvfuzz::Require(contained == (!part.empty() && text.find(part) != std::string::npos));

    const std::size_t last = lv::FindLastOf(text, "\\:");
    lvfuzz::Require(last == std::string::npos || text[last] == '\\' || text[last] == ':');
    if (asciiStandsAlone) lvfuzz::Require(last == text.find_last_of("\\:"));
    const std::size_t first = lv::FindFirst(text, '\\');
    lvfuzz::Require(first == std::string::npos || text[first] == '\\');
    if (asciiStandsAlone) lvfuzz::Require(first == text.find('\\'));

    const std::string folder = lv::DirectoryPart(text);
    lvfuzz::Require(text.compare(0, folder.size(), folder) == 0);

    const std::size_t limit = part.size();
    const std::string cut = lv::CutToWholeChars(text, limit);
    lvfuzz::Require(cut.size() <= limit || cut == text);
    lvfuzz::Require(text.compare(0, cut.size(), cut) == 0);
    return 0;
}
