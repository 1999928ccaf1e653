/* Runs a command and records the processor time of every process that ends
   beneath it, one line each as it ends: "NAME MICROSECONDS". Built for Linux.
     process_cpu RECORDS COMMAND [ARGUMENT...]
   Wine starts each Windows process detached from its parent, so no Windows
   program can learn another's processor time (Wine reports 0). As a child
   subreaper this program inherits those detached processes and collects
   their usage from the kernel when they end. Exits with the command's code. */
#define _GNU_SOURCE
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

/* The process's name while it can still be read: the kernel's 15-character
   name, which Wine sets to the Windows program's file name. */
static void NameOf(pid_t pid, char* name, size_t size) {
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/comm", (int)pid);
    FILE* comm = fopen(path, "r");
    if (comm == NULL || fgets(name, (int)size, comm) == NULL) snprintf(name, size, "?");
    if (comm != NULL) fclose(comm);
    name[strcspn(name, "\n")] = '\0';
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: process_cpu RECORDS COMMAND [ARGUMENT...]\n");
        return 2;
    }
    FILE* records = fopen(argv[1], "we"); /* not inherited by the command */
    if (records == NULL || prctl(PR_SET_CHILD_SUBREAPER, 1) != 0) {
        perror("process_cpu");
        return 2;
    }
    const pid_t command = fork();
    if (command == 0) {
        execvp(argv[2], argv + 2);
        perror(argv[2]);
        _exit(127);
    }
    for (;;) {
        /* Look before reaping: a reaped process's name is gone. */
        siginfo_t ended;
        memset(&ended, 0, sizeof ended);
        if (waitid(P_ALL, 0, &ended, WEXITED | WNOWAIT) != 0) return 2;
        char name[32];
        NameOf(ended.si_pid, name, sizeof name);
        int status = 0;
        struct rusage usage;
        if (wait4(ended.si_pid, &status, 0, &usage) != ended.si_pid) return 2;
        const long long microseconds = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000LL +
                                       usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
        fprintf(records, "%s %lld\n", name, microseconds);
        fflush(records);
        /* Processes the command leaves running (Wine's services) are not waited for. */
        if (ended.si_pid == command) return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
    }
}
