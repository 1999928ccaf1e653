// Times the launcher against yardsticks, side by side in one run, under Wine:
//   "-install" against "reg import" of a .reg file holding what it writes;
//   starting the browser against a program that only calls ShellExecuteA.
// Each figure is the median of RUNS process lifetimes; the registry is put
// back after every run, so each "-install" meets the same fresh state.
//   bench_driver [RUNS]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "TestSupport.h"

using namespace lvtest;

namespace {

double MillisecondsOf(const std::function<void()>& work) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string RegText(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '\\' || c == '"') escaped += '\\';
        escaped += c;
    }
    return "\"" + escaped + "\"";
}

// REGEDIT4 lines for every string value `after` has that `before` lacks or holds otherwise.
void AppendChanges(const std::string& keyName, const KeySnapshot& before, const KeySnapshot& after, std::string& reg) {
    std::string lines;
    for (const auto& [name, value] : after.values) {
        const auto old = before.values.find(name);
        if (old != before.values.end() && old->second == value) continue;
        const std::string text = value.second.substr(0, value.second.find('\0'));
        lines += (name.empty() ? "@" : RegText(name)) + "=" + RegText(text) + "\r\n";
    }
    if (!lines.empty()) reg += "\r\n[" + keyName + "]\r\n" + lines;
    for (const auto& [name, child] : after.subkeys) {
        const auto old = before.subkeys.find(name);
        AppendChanges(keyName + "\\" + name, old == before.subkeys.end() ? KeySnapshot{} : old->second, child, reg);
    }
}

void WriteFile(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

void WaitForBrowser(const std::string& folder) {
    if (ReceivedBy(folder).empty()) std::fprintf(stderr, "the browser did not start\n"), std::exit(1);
    DeleteFileA((folder + "received.txt").c_str());
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 15;
    const std::string folder = MakeLayout("C:\\bench\\Lumivue 4");
    const std::string install = "\"" + folder + "lvlaunch.exe\" -install";
    const std::string regFile = folder + "install.reg";
    const std::string settings = std::string(kSettingsKey) + "\\Lumivue 4";

    // The .reg file holds exactly what one "-install" writes.
    {
        const ClassesRootGuard undo;
        std::vector<std::pair<std::string, KeySnapshot>> before;
        for (const std::string& key : undo.WatchedKeys()) before.emplace_back(key, Snapshot(HKEY_CLASSES_ROOT, key));
        if (RunProcess(install) != 0) return 1;
        std::string reg = "REGEDIT4\r\n";
        for (const auto& [key, snapshot] : before)
            AppendChanges("HKEY_CLASSES_ROOT\\" + key, snapshot, Snapshot(HKEY_CLASSES_ROOT, key), reg);
        AppendChanges("HKEY_CURRENT_USER\\" + settings, KeySnapshot{}, Snapshot(HKEY_CURRENT_USER, settings), reg);
        WriteFile(regFile, reg);
    }

    // The floor: a program that starts and exits at once (the yardstick without arguments).
    const std::string bareStart = "\"" + BinFolder() + "shell_execute_only.exe\"";
    std::vector<double> installTimes, importTimes, launchTimes, shellTimes, bareTimes;
    for (int run = 0; run < runs; ++run) {
        {
            const ClassesRootGuard undo;
            installTimes.push_back(MillisecondsOf([&] { RunProcess(install); }));
        }
        {
            const ClassesRootGuard undo;
            importTimes.push_back(MillisecondsOf([&] { RunProcess("reg import \"" + regFile + "\""); }));
        }
        launchTimes.push_back(MillisecondsOf([&] { RunProcess("\"" + folder + "lvlaunch.exe\""); }));
        WaitForBrowser(folder);
        shellTimes.push_back(MillisecondsOf(
            [&] { RunProcess("\"" + BinFolder() + "shell_execute_only.exe\" \"" + folder + "Vistel4.exe\""); }));
        WaitForBrowser(folder);
        bareTimes.push_back(MillisecondsOf([&] { RunProcess(bareStart); }));
    }

    const double install_ = Median(installTimes), import_ = Median(importTimes);
    const double launch = Median(launchTimes), shell = Median(shellTimes);
    std::printf("medians of %d runs, milliseconds of process lifetime\n", runs);
    std::printf("  -install           %8.1f   reg import %8.1f   ratio %.2f (goal 1.0 or less)\n", install_, import_,
                install_ / import_);
    std::printf("  a program that only starts and exits: %.1f\n", Median(bareTimes));
    std::printf("  start the browser  %8.1f   ShellExecuteA only %8.1f   ratio %.2f (goal 1.1 or less)\n", launch,
                shell, launch / shell);
    return 0;
}
