// CString: an 8-bit string in the ANSI code page (GBK here). Searching and case changes step over
// double-byte characters, so a trail byte never matches '\\' or gets upper-cased.
//
// Pass a CString to printf-style functions as (LPCSTR)s or s.GetString(): it is not a bare pointer.
#pragma once

#include <cstdarg>
#include <string>

#include "AfxBase.h"

class CString {
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) = default;
    // A MAKEINTRESOURCE value instead of a text loads that string from the resources.
    CString(LPCSTR psz) { *this = psz; }
    CString(LPCSTR pch, int nLength) : m_s(pch ? pch : "", pch && nLength > 0 ? (size_t)nLength : 0) {}
    CString(char ch, int nRepeat = 1) : m_s(nRepeat > 0 ? (size_t)nRepeat : 0, ch) {}

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) = default;
    CString& operator=(LPCSTR psz);
    CString& operator=(char ch) {
        m_s.assign(1, ch);
        return *this;
    }

    operator LPCSTR() const { return m_s.c_str(); }
    LPCSTR GetString() const { return m_s.c_str(); }
    int GetLength() const { return (int)m_s.size(); }
    BOOL IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    char GetAt(int i) const { return m_s.at((size_t)i); }
    void SetAt(int i, char ch) { m_s.at((size_t)i) = ch; }
    char operator[](int i) const { return GetAt(i); }

    CString& operator+=(const CString& s) {
        m_s += s.m_s;
        return *this;
    }
    CString& operator+=(LPCSTR psz) {
        if (psz) m_s += psz;
        return *this;
    }
    CString& operator+=(char ch) {
        m_s += ch;
        return *this;
    }
    void Append(LPCSTR psz) { *this += psz; }
    void AppendChar(char ch) { m_s += ch; }

    // Byte-wise comparisons, like strcmp.
    int Compare(LPCSTR psz) const;
    int CompareNoCase(LPCSTR psz) const;

    int Find(char ch, int nStart = 0) const;
    int Find(LPCSTR pszSub, int nStart = 0) const;
    int ReverseFind(char ch) const; // last whole character equal to ch, or -1
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;

    CString& MakeUpper(); // ASCII letters only; double-byte characters are left alone
    CString& MakeLower();
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();
    int Replace(char chOld, char chNew);
    int Replace(LPCSTR pszOld, LPCSTR pszNew);
    int Delete(int nIndex, int nCount = 1);
    int Insert(int nIndex, LPCSTR psz);

    void Format(LPCSTR pszFormat, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 2, 3)));
    void AppendFormat(LPCSTR pszFormat, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 2, 3)));
    void FormatV(LPCSTR pszFormat, va_list args);
    // Loads string nID from the current resource module; FALSE (and empty) when it does not exist.
    BOOL LoadString(UINT nID);

    // Direct buffer access for Win32 calls that fill a char array.
    LPSTR GetBuffer(int nMinBufLength = 0);
    LPSTR GetBufferSetLength(int nLength);
    void ReleaseBuffer(int nNewLength = -1); // -1: up to the first NUL

private:
    std::string m_s;
};

inline bool operator==(const CString& a, const CString& b) {
    return a.Compare(b) == 0;
}
inline bool operator==(const CString& a, LPCSTR b) {
    return a.Compare(b) == 0;
}
inline bool operator==(LPCSTR a, const CString& b) {
    return b.Compare(a) == 0;
}
inline bool operator!=(const CString& a, const CString& b) {
    return a.Compare(b) != 0;
}
inline bool operator!=(const CString& a, LPCSTR b) {
    return a.Compare(b) != 0;
}
inline bool operator!=(LPCSTR a, const CString& b) {
    return b.Compare(a) != 0;
}
inline bool operator<(const CString& a, const CString& b) {
    return a.Compare(b) < 0;
}
inline bool operator>(const CString& a, const CString& b) {
    return a.Compare(b) > 0;
}

inline CString operator+(const CString& a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}
inline CString operator+(const CString& a, LPCSTR b) {
    CString r(a);
    r += b;
    return r;
}
inline CString operator+(LPCSTR a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}
inline CString operator+(const CString& a, char b) {
    CString r(a);
    r += b;
    return r;
}
inline CString operator+(char a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}
