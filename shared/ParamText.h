// Parameter text: items "key=value;" as the cameras send and expect them. Platform-free.
#pragma once

#include <cstddef>

// Copies the characters of src up to, not including, the first ';' or the end of the text into dest,
// at most capacity - 1 of them, and returns the item's length (the characters up to ';' or the end),
// which is more than capacity - 1 when the item did not fit. Writes no terminator; a NULL src gives 0.
int CopyToken(char* dest, int capacity, const char* src);

// True when the key's first strlen(literal) characters equal the literal: "WIFI_IDX" matches
// "WIFI_ID", a key shorter than the literal does not.
bool KeyMatches(const char* key, const char* literal);

// The one parse loop of every parameter-text reader. Each call to Next yields the next item that has
// a key and a value; items without "=" or with an empty value are skipped, and so is an item too long
// for the token buffer (it cannot be read whole, and a cut value would be a wrong value).
// The parse ends at the first empty item (";;", a leading ';') or at the end of the text.
class ParamTextReader {
public:
    // tokenSize is the parser's token buffer: 256 or 512 bytes.
    ParamTextReader(const char* text, int tokenSize);
    ParamTextReader(const ParamTextReader&) = delete;
    ParamTextReader& operator=(const ParamTextReader&) = delete;
    ~ParamTextReader();

    // On true, key and value point into the reader's token buffer, valid until the next call.
    bool Next(const char*& key, const char*& value);

private:
    const char* m_p;
    char* m_token;
    int m_tokenSize;
};

// Appends printf-formatted text to the NUL-terminated text in buf (capacity bytes in all). Returns the
// new length, or -1 when the result would not fit; then buf is left as it was.
int ParamTextAppendf(char* buf, size_t capacity, const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

// Copies text into a fixed-width field of a packet: at most size - 1 bytes, NUL-terminated, the rest
// of the field zeroed. NULL text gives an empty field.
void CopyFixedField(char* field, size_t size, const char* text);
