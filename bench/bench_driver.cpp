// Times the launcher against yardsticks, side by side in one run, under Wine:
//   "-install" against "reg import" of a .reg file holding what it writes;
//   starting the browser against a program that only calls ShellExecuteA.
// It also times the directory lookups "-install" must make, alone, and sets
// "-install" against "reg import" plus those.
// Each figure is the median, and the least, of RUNS process lifetimes (30
// unless given), in wall time and in processor time; the registry is put back
// after every run, so each "-install" meets the same fresh state.
// run-bench.sh runs it beneath process_cpu, and names that one's records and
// the Wine server's process id in LV_CPU_RECORDS and LV_WINESERVER_PID.
//   bench_driver [RUNS]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ImageTypes.h"
#include "TestSupport.h"

using namespace lvtest;

namespace {

[[noreturn]] void Fail(const std::string& why) {
    std::fprintf(stderr, "bench_driver: %s\n", why.c_str());
    std::exit(1);
}

// How long one process lived, and the processor time it took: its own, and
// the Wine server's meanwhile, which carries out its registry and file calls.
struct Lifetime {
    double wall;
    double cpu;
};

// Processor times, in milliseconds, from Linux's own counts.
class ProcessorTimes {
public:
    ProcessorTimes() {
        const char* records = std::getenv("LV_CPU_RECORDS");
        const char* server = std::getenv("LV_WINESERVER_PID");
        if (records == nullptr || server == nullptr) Fail("run me through bench/run-bench.sh");
        records_ = records;
        serverStat_ = std::string("Z:\\proc\\") + server + "\\schedstat";
    }

    // The Wine server's processor time so far (its first figure is in nanoseconds).
    double Server() const {
        std::ifstream stat(serverStat_);
        double nanoseconds = 0;
        if (!(stat >> nanoseconds)) Fail("cannot read " + serverStat_);
        return nanoseconds / 1e6;
    }

    // The processor time of the next process named `program` to end, as
    // process_cpu records it ("NAME MICROSECONDS", the name cut to 15
    // characters); records of other processes are passed over.
    double NextEnded(const std::string& program) {
        for (int waited = 0; waited < 5000; waited += 5) {
            std::ifstream file(records_);
            std::string line;
            for (std::size_t index = 0; std::getline(file, line); ++index) {
                if (index < linesRead_) continue;
                std::istringstream fields(line);
                std::string name;
                double microseconds = 0;
                if (!(fields >> name >> microseconds) || program.compare(0, name.size(), name) != 0) continue;
                linesRead_ = index + 1;
                return microseconds / 1000.0;
            }
            Sleep(5);
        }
        Fail("no processor time recorded for " + program);
    }

private:
    std::string records_;
    std::string serverStat_;
    std::size_t linesRead_ = 0;
};

Lifetime Run(ProcessorTimes& times, const std::string& commandLine, const std::string& program) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    const double serverBefore = times.Server();
    QueryPerformanceCounter(&start);
    RunProcess(commandLine);
    QueryPerformanceCounter(&end);
    const double server = times.Server() - serverBefore;
    return {1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart),
            times.NextEnded(program) + server};
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
    ProcessorTimes times;
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
        times.NextEnded("lvlaunch.exe");
        std::string reg = "REGEDIT4\r\n";
        for (const auto& [key, snapshot] : before)
            AppendChanges("HKEY_CLASSES_ROOT\\" + key, snapshot, Snapshot(HKEY_CLASSES_ROOT, key), reg);
        AppendChanges("HKEY_CURRENT_USER\\" + settings, KeySnapshot{}, Snapshot(HKEY_CURRENT_USER, settings), reg);
        WriteFile(regFile, reg);
    }

    // Interleaved, so that a slow spell of the machine meets every program
    // alike; each pair in both orders by turns, as a program runs slower
    // right after some others (measured: after "reg import" and the registry's
    // restoring, the launch took 15 to 25% longer than in the other place).
    const std::string shellOnly = "\"" + BinFolder() + "shell_execute_only.exe\"";
    // A walk of the browser path for each extension and one for the setting.
    const std::size_t walks = lv::ImageExtensions.size() + 1;
    const std::string lookups =
        "\"" + BinFolder() + "lookups_only.exe\" \"" + folder + "Vistel4.exe\" " + std::to_string(walks);
    if (RunProcess(lookups) != 0) Fail("lookups_only found no browser");
    times.NextEnded("lookups_only.exe");
    std::vector<Lifetime> installs, imports, launches, shells, bareStarts, lookupsAlone;
    const auto timeInstall = [&] {
        const ClassesRootGuard undo;
        installs.push_back(Run(times, install, "lvlaunch.exe"));
    };
    const auto timeImport = [&] {
        const ClassesRootGuard undo;
        imports.push_back(Run(times, "reg import \"" + regFile + "\"", "reg.exe"));
    };
    const auto timeLaunch = [&] {
        launches.push_back(Run(times, "\"" + folder + "lvlaunch.exe\"", "lvlaunch.exe"));
        WaitForBrowser(folder);
    };
    const auto timeShellOnly = [&] {
        shells.push_back(Run(times, shellOnly + " \"" + folder + "Vistel4.exe\"", "shell_execute_only.exe"));
        WaitForBrowser(folder);
    };
    const auto inTurn = [](int run, const auto& first, const auto& second) {
        if (run % 2 == 0) {
            first();
            second();
        } else {
            second();
            first();
        }
    };
    for (int run = 0; run < runs; ++run) {
        inTurn(run, timeInstall, timeImport);
        inTurn(run, timeLaunch, timeShellOnly);
        bareStarts.push_back(Run(times, "\"" + BinFolder() + "empty_program.exe\"", "empty_program.exe"));
        lookupsAlone.push_back(Run(times, lookups, "lookups_only.exe"));
    }

    std::printf(
        "%d interleaved runs, milliseconds: wall time from start to exit, processor time of the process and of "
        "the Wine server meanwhile (cpu); the median, and the least, which the machine's noise disturbed least\n",
        runs);
    struct Figure {
        const char* label;
        double Lifetime::*measure;
        bool least;
    };
    const Figure figures[] = {{"wall median", &Lifetime::wall, false},
                              {"cpu median ", &Lifetime::cpu, false},
                              {"wall least ", &Lifetime::wall, true},
                              {"cpu least  ", &Lifetime::cpu, true}};
    const auto pick = [](const Figure& figure, const std::vector<Lifetime>& lifetimes) {
        std::vector<double> values;
        for (const Lifetime& lifetime : lifetimes) values.push_back(lifetime.*figure.measure);
        return figure.least ? *std::min_element(values.begin(), values.end()) : Median(std::move(values));
    };
    const auto report = [&](const char* name, const std::vector<Lifetime>& measured, const char* yardstickName,
                            const auto& yardstick, const char* goal) {
        for (const Figure& figure : figures) {
            const double ours = pick(figure, measured), theirs = yardstick(figure);
            std::printf("  %-18s %s %7.1f   %-18s %7.1f   ratio %.2f (%s)\n", name, figure.label, ours, yardstickName,
                        theirs, ours / theirs, goal);
        }
    };
    const auto alone = [&](const std::vector<Lifetime>& yardstick) {
        return [&](const Figure& figure) { return pick(figure, yardstick); };
    };
    report("-install", installs, "reg import", alone(imports), "goal 1.0 or less");
    report("start the browser", launches, "ShellExecuteA only", alone(shells), "goal 1.05 or less");
    // Each program's figure holds a start and an exit: the floor's are taken
    // off the lookups, which ride on the import's.
    report(
        "-install", installs, "import + lookups",
        [&](const Figure& figure) {
            return pick(figure, imports) + pick(figure, lookupsAlone) - pick(figure, bareStarts);
        },
        "the work the launcher cannot leave out");
    const auto reportAlone = [&](const std::string& what, const std::vector<Lifetime>& lifetimes) {
        std::printf("  %s: wall %.1f median, %.1f least; cpu %.1f median, %.1f least\n", what.c_str(),
                    pick(figures[0], lifetimes), pick(figures[2], lifetimes), pick(figures[1], lifetimes),
                    pick(figures[3], lifetimes));
    };
    reportAlone("a program that only starts and exits", bareStarts);
    reportAlone("the lookups of " + std::to_string(walks) + " walks alone", lookupsAlone);
    return 0;
}
