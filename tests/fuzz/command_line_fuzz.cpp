// Splitting any command line, then dispatching on it.
#include "CommandLine.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const lvfuzz::Input input = lvfuzz::ReadInput(data, size);
    const std::vector<std::string> arguments = lv::SplitArguments(input.text);
    std::size_t taken = 0;
    for (const std::string& argument : arguments) {
        lvfuzz::Require(!argument.empty());
        // Outside double-byte characters quotes are never part of an argument.
        if (input.codePage != lvtest::CodePage::Japanese) lvfuzz::Require(argument.find('"') == std::string::npos);
        taken += argument.size();
    }
    lvfuzz::Require(taken <= input.text.size());
    const lv::LauncherAction action = lv::ChooseAction(arguments);
    lvfuzz::Require((action == lv::LauncherAction::StartBrowser) == arguments.empty());
    return 0;
}
