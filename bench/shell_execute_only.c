/* The least a launcher can do: ask the shell to start the program named on
   the command line, then exit. The yardstick for the launcher's start-up. */
#include <windows.h>
#include <shellapi.h>
#include <stdlib.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR arguments, int show) {
    (void)instance, (void)previous, (void)arguments, (void)show;
    if (__argc < 2) return 2;
    ShellExecuteA(NULL, NULL, __argv[1], NULL, NULL, SW_SHOWNORMAL);
    return 0;
}
