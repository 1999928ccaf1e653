/* A program that only starts and exits, importing nothing but what the C
   runtime needs: the floor under every figure of the benchmark. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR arguments, int show) {
    (void)instance, (void)previous, (void)arguments, (void)show;
    return 0;
}
