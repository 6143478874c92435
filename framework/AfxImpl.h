// Framework internals shared by its source files; not for the program.
#pragma once

#include <mutex>
#include <unordered_map>

#include "AfxMenu.h"
#include "AfxWnd.h"

// Bytes of the character that starts at s[i] in a text of len bytes: 2 for a double-byte character of
// the process's ANSI code page (a lead byte with a byte after it), else 1.
inline size_t AfxCharBytes(const char* s, size_t i, size_t len) {
    return ::IsDBCSLeadByte((BYTE)s[i]) && i + 1 < len ? 2 : 1;
}

inline void AfxTempBind(CWnd* p, HWND h) {
    p->m_hWnd = h;
}
inline void AfxTempRelease(CWnd* p) {
    p->m_hWnd = nullptr;
}
inline void AfxTempBind(CDC* p, HDC h) {
    p->m_hDC = h;
}
inline void AfxTempRelease(CDC* p) {
    p->m_hDC = nullptr;
}
inline void AfxTempBind(CGdiObject* p, HGDIOBJ h) {
    p->m_hObject = h;
}
inline void AfxTempRelease(CGdiObject* p) {
    p->m_hObject = nullptr;
}
inline void AfxTempBind(CMenu* p, HMENU h) {
    p->m_hMenu = h;
}
inline void AfxTempRelease(CMenu* p) {
    p->m_hMenu = nullptr;
}

// Temporary, non-owning wrappers handed out by FromHandle for handles the program did not wrap.
// One per handle value, kept until the module unloads; the handle is detached before deletion so
// nothing is destroyed.
template <typename T, typename H> class AfxTempMap {
public:
    ~AfxTempMap() {
        for (auto& kv : m_map) {
            AfxTempRelease(kv.second);
            delete kv.second;
        }
    }
    T* Get(H h) {
        if (!h) return nullptr;
        std::lock_guard<std::mutex> lock(m_lock);
        T*& p = m_map[h];
        if (!p) {
            p = new T;
            AfxTempBind(p, h);
        }
        return p;
    }

private:
    std::mutex m_lock;
    std::unordered_map<H, T*> m_map;
};

// The owner the framework picks for a window created without one.
HWND AfxPickOwner();

// Thrown by CDataExchange::Fail and caught by UpdateData.
struct AfxExchangeFailed {};
