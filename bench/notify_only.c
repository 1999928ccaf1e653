/* What telling the shell that associations changed costs alone: load shell32,
   take SHChangeNotify from it, as the launcher does, and call it once. */
#include <windows.h>
#include <shlobj.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR arguments, int show) {
    (void)instance, (void)previous, (void)arguments, (void)show;
    const HMODULE shell32 = LoadLibraryA("shell32.dll");
    if (shell32 == NULL) return 1;
    typedef void(WINAPI * NotifyFunction)(LONG, UINT, LPCVOID, LPCVOID);
    const NotifyFunction notify = (NotifyFunction)(void (*)(void))GetProcAddress(shell32, "SHChangeNotify");
    if (notify == NULL) return 1;
    notify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, NULL, NULL);
    return 0;
}
