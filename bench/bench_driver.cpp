// Times the launcher against yardsticks, side by side in one run, under Wine:
//   "-install" against "reg import" of a .reg file holding what it writes;
//   starting the browser against a program that only calls ShellExecuteA.
// Each figure is the median of RUNS process lifetimes (30 unless given), in
// wall time and in processor time; the registry is put back after every run,
// so each "-install" meets the same fresh state.
//   bench_driver [RUNS]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"

using namespace lvtest;

namespace {

// How long one process lived, and the processor time the machine spent meanwhile.
struct Lifetime {
    double wall;
    double cpu;
};

// Milliseconds the machine's processors have been busy, from Linux's own count
// (Wine reports no processor time for other processes): the program, the Wine
// server that carries out its registry calls, and anything else running.
double MachineBusyMilliseconds() {
    std::FILE* stat = std::fopen("Z:\\proc\\stat", "r");
    unsigned long long user = 0, nice = 0, system = 0, idle = 0, iowait = 0, irq = 0, softirq = 0;
    if (stat == nullptr || std::fscanf(stat, "cpu %llu %llu %llu %llu %llu %llu %llu", &user, &nice, &system, &idle,
                                       &iowait, &irq, &softirq) != 7)
        std::fprintf(stderr, "cannot read /proc/stat\n"), std::exit(1);
    std::fclose(stat);
    return 10.0 * static_cast<double>(user + nice + system + irq + softirq);  // in ticks of 10 ms
}

Lifetime Run(const std::string& commandLine) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    const double busyBefore = MachineBusyMilliseconds();
    QueryPerformanceCounter(&start);
    RunProcess(commandLine);
    QueryPerformanceCounter(&end);
    return {1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart),
            MachineBusyMilliseconds() - busyBefore};
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
        if (RunProcess(install) != 0) return 1;
        std::string reg = "REGEDIT4\r\n";
        for (const auto& [key, snapshot] : before)
            AppendChanges("HKEY_CLASSES_ROOT\\" + key, snapshot, Snapshot(HKEY_CLASSES_ROOT, key), reg);
        AppendChanges("HKEY_CURRENT_USER\\" + settings, KeySnapshot{}, Snapshot(HKEY_CURRENT_USER, settings), reg);
        WriteFile(regFile, reg);
    }

    // Interleaved, so that a slow spell of the machine meets every program alike.
    const std::string shellOnly = "\"" + BinFolder() + "shell_execute_only.exe\"";
    std::vector<Lifetime> installs, imports, launches, shells, bareStarts;
    for (int run = 0; run < runs; ++run) {
        {
            const ClassesRootGuard undo;
            installs.push_back(Run(install));
        }
        {
            const ClassesRootGuard undo;
            imports.push_back(Run("reg import \"" + regFile + "\""));
        }
        launches.push_back(Run("\"" + folder + "lvlaunch.exe\""));
        WaitForBrowser(folder);
        shells.push_back(Run(shellOnly + " \"" + folder + "Vistel4.exe\""));
        WaitForBrowser(folder);
        bareStarts.push_back(Run(shellOnly));  // without an argument it only starts and exits
    }

    std::printf(
        "%d interleaved runs, milliseconds: median process lifetime (wall), median machine busy meanwhile "
        "(cpu), quickest lifetime (min)\n",
        runs);
    // Medians, and the quickest run, which the machine's noise disturbed least.
    const auto report = [](const char* name, const std::vector<Lifetime>& measured, const char* yardstickName,
                           const std::vector<Lifetime>& yardstick, const char* goal) {
        for (const char* figure : {"wall", "cpu ", "min "}) {
            std::vector<double> ours, theirs;
            for (const Lifetime& l : measured) ours.push_back(figure[0] == 'c' ? l.cpu : l.wall);
            for (const Lifetime& l : yardstick) theirs.push_back(figure[0] == 'c' ? l.cpu : l.wall);
            const auto pick = [figure](std::vector<double> values) {
                return figure[0] == 'm' ? *std::min_element(values.begin(), values.end()) : Median(std::move(values));
            };
            std::printf("  %-18s %s %7.1f   %-18s %7.1f   ratio %.2f (goal %s)\n", name, figure, pick(ours),
                        yardstickName, pick(theirs), pick(ours) / pick(theirs), goal);
        }
    };
    report("-install", installs, "reg import", imports, "1.0 or less");
    report("start the browser", launches, "ShellExecuteA only", shells, "1.05 or less");
    std::vector<double> bareWall, bareCpu;
    for (const Lifetime& l : bareStarts) bareWall.push_back(l.wall), bareCpu.push_back(l.cpu);
    std::printf("  a program that only starts and exits: wall %.1f, cpu %.1f\n", Median(bareWall), Median(bareCpu));
    return 0;
}
