// Runs the launcher beside its yardsticks under Wine, interleaved in one run:
//   "-install" against "reg import" of a .reg file holding what it writes,
//   plus the directory lookups its walks must make (a program that makes only
//   those), plus telling the shell (a program that only does that), less two
//   process starts (a program that only starts and exits);
//   starting the browser against a program that only calls ShellExecuteA.
// Prints the median and the least wall time of RUNS lifetimes (30 unless
// given) of each, and their ratios. The registry is put back after every run,
// so each "-install" meets the same fresh state. run-bench.sh --requests runs
// one round under a server that writes down every request instead.
//   bench_driver [RUNS]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "ImageTypes.h"
#include "TestSupport.h"

using namespace lvtest;

namespace {

// Milliseconds from the start of `commandLine` to its exit.
double WallTime(const std::string& commandLine) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (RunProcess(commandLine) != 0) std::fprintf(stderr, "failed: %s\n", commandLine.c_str()), std::exit(1);
    QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
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

void WaitForBrowser(const std::string& folder) {
    if (ReceivedBy(folder).empty()) std::fprintf(stderr, "the browser did not start\n"), std::exit(1);
    DeleteFileA((folder + "received.txt").c_str());
}

struct Times {
    double median, least;
};

Times Summary(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front()};
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 30;
    const std::string folder = MakeLayout("C:\\bench\\Lumivue 4");
    const std::string install = "\"" + folder + "lvlaunch.exe\" -install";
    const std::string regFile = folder + "install.reg";
    const std::string settings = std::string(kSettingsKey) + "\\Lumivue 4";

    // The .reg file holds exactly what one "-install" writes.
    {
        const ClassesRootGuard undo;
        std::vector<std::pair<std::string, KeySnapshot>> before;
        for (const std::string& key : undo.WatchedKeys()) before.emplace_back(key, Snapshot(HKEY_CLASSES_ROOT, key));
        WallTime(install);
        std::string reg = "REGEDIT4\r\n";
        for (const auto& [key, snapshot] : before)
            AppendChanges("HKEY_CLASSES_ROOT\\" + key, snapshot, Snapshot(HKEY_CLASSES_ROOT, key), reg);
        AppendChanges("HKEY_CURRENT_USER\\" + settings, KeySnapshot{}, Snapshot(HKEY_CURRENT_USER, settings), reg);
        std::FILE* file = std::fopen(regFile.c_str(), "wb");
        std::fwrite(reg.data(), 1, reg.size(), file);
        std::fclose(file);
    }

    // A walk of the browser path for each extension and one for the setting.
    const std::string lookups = "\"" + BinFolder() + "lookups_only.exe\" \"" + folder + "Vistel4.exe\" " +
                                std::to_string(lv::ImageExtensions.size() + 1);
    const std::string empty = "\"" + BinFolder() + "empty_program.exe\"";
    const std::string notify = "\"" + BinFolder() + "notify_only.exe\"";
    const std::string import = "reg import \"" + regFile + "\"";
    const std::string launch = "\"" + folder + "lvlaunch.exe\"";
    const std::string shellOnly = "\"" + BinFolder() + "shell_execute_only.exe\" \"" + folder + "Vistel4.exe\"";
    std::vector<double> installs, imports, lookupsAlone, notices, starts, launches, shells;
    const auto timeInstall = [&] {
        const ClassesRootGuard undo;
        installs.push_back(WallTime(install));
    };
    const auto timeImport = [&] {
        const ClassesRootGuard undo;
        imports.push_back(WallTime(import));
    };
    const auto timeLaunch = [&] {
        launches.push_back(WallTime(launch));
        WaitForBrowser(folder);
    };
    const auto timeShellOnly = [&] {
        shells.push_back(WallTime(shellOnly));
        WaitForBrowser(folder);
    };
    // Interleaved, so that a slow spell of the machine meets every program
    // alike, and each pair in both orders by turns: a program runs slower
    // right after some others (after "reg import" and the registry's
    // restoring, the launch took 15 to 25% longer than in the other place).
    const auto inTurn = [](int run, const auto& first, const auto& second) {
        if (run % 2 == 0)
            first(), second();
        else
            second(), first();
    };
    for (int run = 0; run < runs; ++run) {
        inTurn(run, timeInstall, timeImport);
        inTurn(run, timeLaunch, timeShellOnly);
        starts.push_back(WallTime(empty));
        lookupsAlone.push_back(WallTime(lookups));
        notices.push_back(WallTime(notify));
    }

    const Times installTime = Summary(installs), importTime = Summary(imports), lookupsTime = Summary(lookupsAlone),
                noticeTime = Summary(notices), startTime = Summary(starts), launchTime = Summary(launches),
                shellTime = Summary(shells);
    const Times yardstick{importTime.median + lookupsTime.median + noticeTime.median - 2 * startTime.median,
                          importTime.least + lookupsTime.least + noticeTime.least - 2 * startTime.least};
    std::printf("%d interleaved runs, wall time from start to exit in ms: median, least\n", runs);
    const auto row = [](const char* name, Times ours, const char* yardstickName, Times theirs) {
        std::printf("  %-18s %7.1f %7.1f   %-32s %7.1f %7.1f   ratio %.2f, %.2f\n", name, ours.median, ours.least,
                    yardstickName, theirs.median, theirs.least, ours.median / theirs.median, ours.least / theirs.least);
    };
    row("-install", installTime, "import + lookups + notice - 2 starts", yardstick);
    row("start the browser", launchTime, "ShellExecuteA only", shellTime);
    std::printf(
        "  reg import %.1f %.1f; lookups alone %.1f %.1f; notice alone %.1f %.1f; a program that only starts and "
        "exits %.1f %.1f\n",
        importTime.median, importTime.least, lookupsTime.median, lookupsTime.least, noticeTime.median, noticeTime.least,
        startTime.median, startTime.least);
    return 0;
}
