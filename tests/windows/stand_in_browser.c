/* Stands in for the image browser in tests: records the command line it was
   started with in "received.txt" beside itself, then exits. The record is
   written under another, no longer, name and renamed, so a reader never sees
   half of it. */
#include <windows.h>
#include <string.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR arguments, int show) {
    char record[MAX_PATH + 16], partial[MAX_PATH + 16];
    const char* commandLine = GetCommandLineA();
    DWORD written = 0;
    HANDLE file;
    char* folderEnd;
    (void)instance, (void)previous, (void)arguments, (void)show;

    if (GetModuleFileNameA(NULL, record, MAX_PATH) >= MAX_PATH) return 2;
    folderEnd = strrchr(record, '\\');
    if (folderEnd == NULL) return 2;
    strcpy(folderEnd + 1, "received.txt");
    strcpy(partial, record);
    strcpy(partial + (folderEnd + 1 - record), "partial.tmp");

    file = CreateFileA(partial, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 3;
    WriteFile(file, commandLine, (DWORD)strlen(commandLine), &written, NULL);
    CloseHandle(file);
    return MoveFileExA(partial, record, MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}
