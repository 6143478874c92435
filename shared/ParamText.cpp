#include "ParamText.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

int CopyToken(char* dest, int capacity, const char* src) {
    if (!src) return 0;
    int n = 0;
    while (src[n] != '\0' && src[n] != ';') {
        if (n < capacity - 1) dest[n] = src[n];
        ++n;
    }
    return n;
}

bool KeyMatches(const char* key, const char* literal) {
    return std::strncmp(key, literal, std::strlen(literal)) == 0;
}

ParamTextReader::ParamTextReader(const char* text, int tokenSize)
    : m_p(text), m_token(new char[tokenSize > 1 ? tokenSize : 2]),
      m_tokenSize(tokenSize > 1 ? tokenSize : 2) {}

ParamTextReader::~ParamTextReader() {
    delete[] m_token;
}

bool ParamTextReader::Next(const char*& key, const char*& value) {
    for (;;) {
        const int n = CopyToken(m_token, m_tokenSize, m_p);
        if (n <= 0) {
            m_p = nullptr; // an empty item ends the parse for good
            return false;
        }
        m_p += n;
        if (*m_p == ';') ++m_p;
        if (n > m_tokenSize - 1) continue; // too long to hold whole: skipped
        m_token[n] = '\0';

        char* k = m_token;
        while (*k == '=')
            ++k;
        char* eq = std::strchr(k, '=');
        if (*k == '\0' || !eq) continue;
        *eq = '\0';
        char* v = eq + 1;
        while (*v == '\r')
            ++v;
        if (*v == '\0') continue;
        if (char* cr = std::strchr(v, '\r')) *cr = '\0';
        key = k;
        value = v;
        return true;
    }
}

int ParamTextAppendf(char* buf, size_t capacity, const char* fmt, ...) {
    const size_t len = strnlen(buf, capacity);
    if (len >= capacity) return -1;
    va_list ap;
    va_start(ap, fmt);
    const int added = std::vsnprintf(buf + len, capacity - len, fmt, ap);
    va_end(ap);
    if (added < 0 || static_cast<size_t>(added) >= capacity - len) {
        buf[len] = '\0';
        return -1;
    }
    return static_cast<int>(len) + added;
}

void CopyFixedField(char* field, size_t size, const char* text) {
    if (size == 0) return;
    std::memset(field, 0, size);
    if (!text) return;
    const size_t n = strnlen(text, size - 1);
    std::memcpy(field, text, n);
}
