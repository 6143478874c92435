// The entry point of a DLL built with the framework, linked into DLLs only (lk_framework_dll).
// Static objects (the app object) are constructed before this runs and destroyed after detach.
#include "AfxApp.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
    if (dwReason == DLL_PROCESS_ATTACH) return AfxDllAttach(hInstance);
    if (dwReason == DLL_PROCESS_DETACH) AfxDllDetach();
    return TRUE;
}
