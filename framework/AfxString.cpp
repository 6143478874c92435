#include "AfxString.h"

#include <cstdio>
#include <cstring>

#include "AfxApp.h"
#include "AfxImpl.h"

namespace {
// Offset of each character start, stepping over double-byte characters of the ANSI code page.
template <typename F> void ForEachChar(const std::string& s, F f) {
    for (size_t i = 0; i < s.size();) {
        const size_t n = AfxCharBytes(s.data(), i, s.size());
        if (!f(i, n)) return;
        i += n;
    }
}
} // namespace

CString& CString::operator=(LPCSTR psz) {
    if (psz && IS_INTRESOURCE(psz))
        LoadString(LOWORD((ULONG_PTR)psz));
    else
        m_s = psz ? psz : "";
    return *this;
}

int CString::Compare(LPCSTR psz) const {
    return strcmp(m_s.c_str(), psz ? psz : "");
}

int CString::CompareNoCase(LPCSTR psz) const {
    CString a(*this), b(psz);
    return strcmp(a.MakeLower(), b.MakeLower());
}

int CString::Find(char ch, int nStart) const {
    int found = -1;
    ForEachChar(m_s, [&](size_t i, size_t n) {
        if ((int)i >= nStart && n == 1 && m_s[i] == ch) {
            found = (int)i;
            return false;
        }
        return true;
    });
    return found;
}

int CString::Find(LPCSTR pszSub, int nStart) const {
    if (!pszSub || nStart < 0 || (size_t)nStart > m_s.size()) return -1;
    size_t len = strlen(pszSub);
    int found = -1;
    ForEachChar(m_s, [&](size_t i, size_t) {
        if ((int)i >= nStart && m_s.compare(i, len, pszSub) == 0) {
            found = (int)i;
            return false;
        }
        return true;
    });
    return found;
}

int CString::ReverseFind(char ch) const {
    int found = -1;
    ForEachChar(m_s, [&](size_t i, size_t n) {
        if (n == 1 && m_s[i] == ch) found = (int)i;
        return true;
    });
    return found;
}

CString CString::Left(int nCount) const {
    if (nCount < 0) nCount = 0;
    return CString(m_s.substr(0, (size_t)nCount).c_str());
}

CString CString::Right(int nCount) const {
    if (nCount < 0) nCount = 0;
    if ((size_t)nCount >= m_s.size()) return *this;
    return CString(m_s.substr(m_s.size() - (size_t)nCount).c_str());
}

CString CString::Mid(int nFirst) const {
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const {
    if (nFirst < 0) nFirst = 0;
    if (nCount < 0) nCount = 0;
    if ((size_t)nFirst >= m_s.size()) return CString();
    return CString(m_s.substr((size_t)nFirst, (size_t)nCount).c_str());
}

CString& CString::MakeUpper() {
    ForEachChar(m_s, [&](size_t i, size_t n) {
        if (n == 1 && m_s[i] >= 'a' && m_s[i] <= 'z') m_s[i] = (char)(m_s[i] - 'a' + 'A');
        return true;
    });
    return *this;
}

CString& CString::MakeLower() {
    ForEachChar(m_s, [&](size_t i, size_t n) {
        if (n == 1 && m_s[i] >= 'A' && m_s[i] <= 'Z') m_s[i] = (char)(m_s[i] - 'A' + 'a');
        return true;
    });
    return *this;
}

static bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

CString& CString::TrimLeft() {
    size_t i = 0;
    while (i < m_s.size() && IsSpace(m_s[i]))
        ++i;
    m_s.erase(0, i);
    return *this;
}

CString& CString::TrimRight() {
    // Only single-byte characters may be spaces, and no GBK trail byte is below 0x40.
    while (!m_s.empty() && IsSpace(m_s.back()))
        m_s.pop_back();
    return *this;
}

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}

int CString::Replace(char chOld, char chNew) {
    int count = 0;
    ForEachChar(m_s, [&](size_t i, size_t n) {
        if (n == 1 && m_s[i] == chOld) {
            m_s[i] = chNew;
            ++count;
        }
        return true;
    });
    return count;
}

int CString::Replace(LPCSTR pszOld, LPCSTR pszNew) {
    if (!pszOld || !*pszOld) return 0;
    std::string out, from(pszOld), to(pszNew ? pszNew : "");
    int count = 0;
    size_t i = 0;
    while (i < m_s.size()) {
        if (m_s.compare(i, from.size(), from) == 0) {
            out += to;
            i += from.size();
            ++count;
        } else {
            const size_t n = AfxCharBytes(m_s.data(), i, m_s.size());
            out.append(m_s, i, n);
            i += n;
        }
    }
    m_s.swap(out);
    return count;
}

int CString::Delete(int nIndex, int nCount) {
    if (nIndex >= 0 && nCount > 0 && (size_t)nIndex < m_s.size()) m_s.erase((size_t)nIndex, (size_t)nCount);
    return GetLength();
}

int CString::Insert(int nIndex, LPCSTR psz) {
    if (nIndex < 0) nIndex = 0;
    if ((size_t)nIndex > m_s.size()) nIndex = GetLength();
    if (psz) m_s.insert((size_t)nIndex, psz);
    return GetLength();
}

void CString::FormatV(LPCSTR pszFormat, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int n = vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    if (n < 0) {
        m_s.clear();
        return;
    }
    std::string out((size_t)n + 1, '\0');
    vsnprintf(&out[0], out.size(), pszFormat, args);
    out.resize((size_t)n);
    m_s.swap(out);
}

void CString::Format(LPCSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::AppendFormat(LPCSTR pszFormat, ...) {
    CString more;
    va_list args;
    va_start(args, pszFormat);
    more.FormatV(pszFormat, args);
    va_end(args);
    *this += more;
}

BOOL CString::LoadString(UINT nID) {
    // LoadStringA cannot report the length up front: grow until the text fits.
    for (int size = 256; size <= 65536; size *= 4) {
        std::string buf((size_t)size, '\0');
        int n = ::LoadStringA(AfxGetResourceHandle(), nID, &buf[0], size);
        if (n <= 0) {
            m_s.clear();
            return FALSE;
        }
        if (n < size - 1) {
            m_s.assign(buf.c_str(), (size_t)n);
            return TRUE;
        }
    }
    return TRUE;
}

LPSTR CString::GetBuffer(int nMinBufLength) {
    if (nMinBufLength > GetLength()) m_s.resize((size_t)nMinBufLength);
    return &m_s[0];
}

LPSTR CString::GetBufferSetLength(int nLength) {
    m_s.resize(nLength > 0 ? (size_t)nLength : 0);
    return &m_s[0];
}

void CString::ReleaseBuffer(int nNewLength) {
    if (nNewLength < 0) nNewLength = (int)strnlen(m_s.c_str(), m_s.size());
    m_s.resize((size_t)nNewLength);
}
