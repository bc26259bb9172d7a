// A stand-in for the app's plug-in module and its hook library: a real DLL that does nothing.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}

extern "C" __declspec(dllexport) int glimmerlineStandInVersion()
{
    return 1;
}
