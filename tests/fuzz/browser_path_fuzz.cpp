// The path walk over any module path, on a simulated disk where a component
// exists unless its name holds a '#' (or a ':', which no file name can), and
// is stored in upper case.
#include "AnsiText.h"
#include "BrowserPath.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const lvfuzz::Input input = lvfuzz::ReadInput(data, size);
    std::size_t lookups = 0;
    const lv::EntryLookup lookup = [&](const std::string& path, lv::FoundEntry& entry) {
        ++lookups;
        lvfuzz::Require(path.size() >= 3 && path.size() < input.text.size() + 20);
        const std::string name = path.substr(path.find_last_of('\\') + 1);
        if (name.empty() || name.find_first_of("#:") != std::string::npos) return false;
        entry.name = lvfuzz::AsciiUpperCase(name);
        return true;
    };
    const std::string browser = lv::FindBrowser(input.text, lookup).path;
    if (input.text.compare(0, 2, "\\\\") == 0) {
        lvfuzz::Require(lookups == 0);
        lvfuzz::Require(browser == lv::DirectoryPart(input.text) + lv::kBrowserFileName);
    } else if (!browser.empty()) {
        lvfuzz::Require(browser.compare(0, 2, input.text, 0, 2) == 0);
        lvfuzz::Require(browser.size() >= 14 && browser.compare(browser.size() - 12, 12, "\\VISTEL4.EXE") == 0);
    }
    const std::string icon = lv::IconLocationFor(browser);
    lvfuzz::Require(icon.size() >= 14 && icon.compare(icon.size() - 14, 14, "lvlaunch.exe,0") == 0);
    return 0;
}
