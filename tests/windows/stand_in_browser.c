/* Stands in for the image browser in tests: records the command line it was
   given, in UTF-16 as the Unicode entry point shows it, in "received.txt"
   beside itself, then exits. The record is written under another, no longer,
   name and renamed, so a reader never sees half of it. */
#include <windows.h>
#include <wchar.h>

#define LONGEST_PATH 32768

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR arguments, int show) {
    static WCHAR record[LONGEST_PATH + 16], partial[LONGEST_PATH + 16];
    const WCHAR* commandLine = GetCommandLineW();
    const DWORD length = GetModuleFileNameW(NULL, record, LONGEST_PATH);
    WCHAR* folderEnd = wcsrchr(record, L'\\');
    DWORD written = 0;
    HANDLE file;
    (void)instance, (void)previous, (void)arguments, (void)show;

    if (length == 0 || length >= LONGEST_PATH || folderEnd == NULL) return 2;
    wcscpy(folderEnd + 1, L"received.txt");
    wcscpy(partial, record);
    wcscpy(partial + (folderEnd + 1 - record), L"partial.tmp");

    file = CreateFileW(partial, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 3;
    WriteFile(file, commandLine, (DWORD)(wcslen(commandLine) * sizeof(WCHAR)), &written, NULL);
    CloseHandle(file);
    return MoveFileExW(partial, record, MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}
