// A loadable library with the Resource Meter's export. The planting test
// drops it into the program's working directory as RSRC32.dll: a program
// that loaded the library by bare name would pick it up and show its
// figures instead of reporting the Resource Meter missing. The export's
// decorated name comes from the build (quimbel_resource_meter_export).
#include <windows.h>

extern "C" int WINAPI plantedFreeSystemResources(int) { return 77; }
