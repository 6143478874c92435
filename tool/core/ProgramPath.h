// The paths of the program's own files: the program folder, from the program's path as the system
// reports it, and a file in that folder. Platform-free: the folder is handed in.
#pragma once

#include <cstddef>

// Room for the program folder and for every path built from it (the system's MAX_PATH).
constexpr size_t PROGRAM_PATH_SIZE = 260;

// Cuts a full path after its last backslash that is a real separator, never at a GBK trail byte 0x5C.
// keepSlash: keep the backslash (for building "dir\\file"); else cut before it. Returns false when the
// path holds no separator, leaving it unchanged.
bool CutAtLastBackslash(char* path, bool keepSlash);

// The program directory from the program's path as GetModuleFileNameA gave it: modulePathLength is its
// result, cutReported whether it set ERROR_INSUFFICIENT_BUFFER. A path that does not fit MAX_PATH, or
// may have been cut, names some other folder: false, with dir empty. Ask with a larger buffer than
// MAX_PATH, so that a cut short of a full buffer is seen as well.
bool ProgramFolderOf(const char* modulePath, unsigned long modulePathLength, bool cutReported,
                     char (&dir)[PROGRAM_PATH_SIZE]);

// programDir + "\\" + name. False, with path empty, when there is no program directory (empty) or the
// path does not fit: a file of the program is then not used at all, rather than one elsewhere.
bool ProgramFilePath(const char* programDir, const char* name, char (&path)[PROGRAM_PATH_SIZE]);
