// Notification-area icon. The record is filled with the size of the version-3 layout (504 bytes on
// 32-bit Windows) whatever the headers' newest layout is, as the shell of every version accepts it.
#pragma once

#include "AfxBase.h"

#include <shellapi.h>

class CTrayIcon {
public:
    enum { kRecordSize = 504 };

    // Zeroes rec and fills it: cbSize 504, the given fields, and lpszTip cut to the tip buffer
    // (127 bytes) without splitting a double-byte character. uFlags as NIF_MESSAGE|NIF_ICON|NIF_TIP.
    static void Fill(NOTIFYICONDATAA& rec, HWND hWnd, UINT uID, UINT uFlags, UINT uCallbackMessage,
                     HICON hIcon, LPCSTR lpszTip);
    // Shell_NotifyIconA(dwMessage) with a record from Fill: NIM_ADD, NIM_MODIFY, NIM_DELETE.
    static BOOL Notify(DWORD dwMessage, HWND hWnd, UINT uID, UINT uFlags, UINT uCallbackMessage, HICON hIcon,
                       LPCSTR lpszTip);
};
