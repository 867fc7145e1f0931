// A loadable library with the Resource Meter's export. The planting test
// drops it into the program's working directory as RSRC32.dll: a program
// that loaded the library by bare name would pick it up and show its
// figures instead of reporting the Resource Meter missing.
#include <windows.h>

extern "C" __declspec(dllexport) int WINAPI _MyGetFreeSystemResources32(int) { return 77; }
