/* Asks the shell to carry out a verb on a file, as Explorer's context menu
   does:  shell_open VERB FILE */
#include <windows.h>
#include <shellapi.h>
#include <stdio.h>

int main(int argc, char** argv) {
    SHELLEXECUTEINFOA request;
    if (argc != 3) {
        fprintf(stderr, "usage: shell_open VERB FILE\n");
        return 2;
    }
    ZeroMemory(&request, sizeof request);
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_NOCLOSEPROCESS;
    request.lpVerb = argv[1];
    request.lpFile = argv[2];
    request.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&request)) {
        fprintf(stderr, "shell_open: %s on %s failed, error %lu\n", argv[1], argv[2], GetLastError());
        return 1;
    }
    if (request.hProcess != NULL) {
        WaitForSingleObject(request.hProcess, 10000);
        CloseHandle(request.hProcess);
    }
    return 0;
}
