/* Only the directory lookups that "-install" must make: WALKS times, one
   lookup per component of PATH after its drive, each search closed at once.
   With the launcher two folders deep that is three a walk, and -install walks
   once for each extension and once for the setting.
     lookups_only PATH WALKS */
#include <windows.h>
#include <stdlib.h>
#include <string.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR arguments, int show) {
    (void)instance, (void)previous, (void)arguments, (void)show;
    if (__argc < 3 || strlen(__argv[1]) < 3 || strlen(__argv[1]) >= MAX_PATH) return 2;
    const int walks = atoi(__argv[2]);
    char path[MAX_PATH];
    strcpy(path, __argv[1]);
    const size_t length = strlen(path);
    for (int walk = 0; walk < walks; ++walk) {
        for (size_t end = 3; end <= length; ++end) {
            if (end < length && path[end] != '\\') continue;
            const char kept = path[end];
            path[end] = '\0';
            WIN32_FIND_DATAA found;
            const HANDLE search = FindFirstFileA(path, &found);
            path[end] = kept;
            if (search == INVALID_HANDLE_VALUE) return 1;
            FindClose(search);
        }
    }
    return 0;
}
