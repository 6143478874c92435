#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <cstdio>
#include "resource.h"
static INT_PTR CALLBACK P(HWND, UINT m, WPARAM, LPARAM) { return m == WM_INITDIALOG; }
TEST(ResourceShotTmp, Save) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    HWND h = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LENSKIT_DIALOG), nullptr, P, 0);
    ASSERT_TRUE(h);
    // show the hidden ones too in a second shot
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1) for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ShowWindow(c, SW_SHOW);
        SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        for (int i = 0; i < 50; ++i) { MSG m; while (PeekMessageA(&m, 0, 0, 0, PM_REMOVE)) DispatchMessageA(&m); Sleep(10); }
        RECT r; GetWindowRect(h, &r);
        int w = r.right - r.left, hh = r.bottom - r.top;
        HDC s = GetDC(nullptr); HDC mem = CreateCompatibleDC(s);
        BITMAPINFO bi{}; bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, hh, 1, 24, BI_RGB};
        void* bits; HBITMAP bmp = CreateDIBSection(s, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        SelectObject(mem, bmp); BitBlt(mem, 0, 0, w, hh, s, r.left, r.top, SRCCOPY);
        GdiFlush();
        int stride = ((w * 3 + 3) & ~3);
        char name[64]; sprintf(name, "Z:\\work\\main\\build-rs\\tmpshot\\d102_%d.bmp", pass);
        FILE* f = fopen(name, "wb");
        BITMAPFILEHEADER fh{0x4D42, (DWORD)(54 + stride * hh), 0, 0, 54};
        fwrite(&fh, sizeof fh, 1, f); fwrite(&bi.bmiHeader, 40, 1, f); fwrite(bits, stride * hh, 1, f); fclose(f);
    }
    DestroyWindow(h);
}
