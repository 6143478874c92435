#include "ProgramPath.h"

#include <cstdio>

#include "TextCut.h"

bool CutAtLastBackslash(char* path, bool keepSlash) {
    // Walk forward character by character: in GBK the trail byte of a Chinese character may be 0x5C,
    // so a byte search for the last backslash could cut a character in half. GBK's own lead test: it
    // agrees with the system's IsDBCSLeadByte only under code page 936, the one the program runs in.
    char* last = nullptr;
    for (char* p = path; *p;) {
        if (*p == '\\') last = p;
        if (IsGbkLeadByte(static_cast<unsigned char>(*p)) && p[1] != '\0')
            p += 2;
        else
            ++p;
    }
    if (!last) return false;
    last[keepSlash ? 1 : 0] = '\0';
    return true;
}

bool ProgramFolderOf(const char* modulePath, unsigned long modulePathLength, bool cutReported,
                     char (&dir)[PROGRAM_PATH_SIZE]) {
    dir[0] = '\0';
    if (modulePath == nullptr || cutReported || modulePathLength == 0 ||
        modulePathLength >= PROGRAM_PATH_SIZE)
        return false;
    char path[PROGRAM_PATH_SIZE];
    // Bounded by the length reported: a filled buffer need not be terminated.
    CopyTextCut(path, modulePath, modulePathLength);
    if (!CutAtLastBackslash(path, false)) return false;
    CopyTextCut(dir, path);
    return true;
}

bool ProgramFilePath(const char* programDir, const char* name, char (&path)[PROGRAM_PATH_SIZE]) {
    path[0] = '\0';
    if (programDir == nullptr || programDir[0] == '\0') return false;
    const int n = std::snprintf(path, sizeof path, "%s\\%s", programDir, name);
    if (n < 0 || n >= static_cast<int>(sizeof path)) {
        path[0] = '\0';
        return false;
    }
    return true;
}
