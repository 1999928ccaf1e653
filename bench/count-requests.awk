# Counts the Wine server requests of each program the benchmark driver
# started, from the trace of the server (wineserver -d1), and prints them as a
# table: a row for each kind of request, a column for each program. Unlike
# times, the counts come out the same on every run.
#   awk -f bench/count-requests.awk TRACE
# A request is a line "TID: name( ...", its reply "TID: name() = ...". A
# program's process is known by its command line (new_process), its threads
# by the replies to new_thread; a program run twice counts its last run.

function program_of(commandLine) {
    if (index(commandLine, "lvlaunch.exe") && index(commandLine, " -install")) return "-install"
    if (index(commandLine, "reg import ") == 1) return "reg import"
    if (index(commandLine, "lookups_only.exe")) return "lookups"
    if (index(commandLine, "empty_program.exe")) return "empty"
    if (index(commandLine, "notify_only.exe")) return "notify"
    if (index(commandLine, "shell_execute_only.exe")) return "ShellExecuteA"
    if (index(commandLine, "lvlaunch.exe")) return "start"
    return ""
}

!/^[0-9a-f][0-9a-f][0-9a-f][0-9a-f]: [a-z_]+\(/ { next }

{
    thread = substr($0, 1, 4)
    request = substr($0, 7, index($0, "(") - 7)
    isReply = substr($0, 7 + length(request), 5) == "() = "
}

request == "new_process" && !isReply {
    start = index($0, "cmdline=L\"") + 10
    starting[thread] = program_of(substr($0, start, index($0, "\",title=") - start))
}

# The first thread of a process another started, or one more of its own.
request == "new_thread" && isReply && match($0, /tid=[0-9a-f]+/) {
    created = substr($0, RSTART + 4, RLENGTH - 4)
    if (thread in starting) {
        program = starting[thread]
        delete starting[thread]
        if (program == "") next
        for (kind in kinds) count[program, kind] = 0
        total[program] = 0
        programOf[created] = program
    } else if (thread in programOf) {
        programOf[created] = programOf[thread]
    }
}

!isReply && thread in programOf {
    program = programOf[thread]
    kinds[request] = 1
    ++count[program, request]
    ++total[program]
}

END {
    columns = split("-install,reg import,lookups,notify,empty,start,ShellExecuteA", names, ",")
    printf "  %-26s", "Wine server requests"
    for (c = 1; c <= columns; ++c) printf " %13s", names[c]
    printf "\n"
    # The kinds, most made by "-install" first.
    rows = 0
    for (kind in kinds) order[++rows] = kind
    for (i = 2; i <= rows; ++i)
        for (j = i; j > 1 && count["-install", order[j]] > count["-install", order[j - 1]]; --j) {
            swap = order[j]; order[j] = order[j - 1]; order[j - 1] = swap
        }
    for (i = 1; i <= rows; ++i) {
        printf "  %-26s", order[i]
        for (c = 1; c <= columns; ++c) printf " %13d", count[names[c], order[i]]
        printf "\n"
    }
    printf "  %-26s", "all"
    for (c = 1; c <= columns; ++c) printf " %13d", total[names[c]]
    printf "\n"
    # Each program's count holds one start and exit: the lookups and the
    # notice ride on the import's.
    yardstick = total["reg import"] + total["lookups"] + total["notify"] - 2 * total["empty"]
    printf "  -install / (reg import + lookups + notice - two starts): %d / %d = %.3f (goal 1.02 or less)\n",
        total["-install"], yardstick, total["-install"] / yardstick
    printf "  start / ShellExecuteA only: %d / %d = %.3f\n", total["start"], total["ShellExecuteA"],
        total["start"] / total["ShellExecuteA"]
}
