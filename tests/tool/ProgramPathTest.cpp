// The program folder and the paths of the program's own files.
#include "ProgramPath.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

// Cutting the program path keeps GBK characters whole: a trail byte may be 0x5C, the backslash.
TEST(ProgramPath, CutAtTheLastRealBackslash) {
    struct Case {
        const char* path;
        bool keep;
        const char* expected;
        bool cut;
    };
    const Case cases[] = {
        {"C:\\tools\\LENSKIT.exe", false, "C:\\tools", true},
        {"C:\\tools\\LENSKIT.exe", true, "C:\\tools\\", true},
        // "\xB2\x5C" is one GBK character whose second byte is a backslash.
        {"C:\\\xB2\x5C\\LENSKIT.exe", false, "C:\\\xB2\x5C", true},
        {"C:\\\xB2\x5CLENSKIT.exe", false, "C:", true},
        {"LENSKIT.exe", false, "LENSKIT.exe", false},
    };
    for (const Case& c : cases) {
        char buf[64];
        strcpy(buf, c.path);
        EXPECT_EQ(CutAtLastBackslash(buf, c.keep), c.cut) << c.path;
        EXPECT_STREQ(buf, c.expected)
            << "from " << c.path << (c.keep ? " keeping" : " dropping") << " the slash";
    }
}

// A module path that GetModuleFileNameA may have cut gives no program directory at all rather than a
// cut one, and a file whose path beside the program does not fit gives no path.
TEST(ProgramPath, FolderAndFilePathsAreNeverCut) {
    char dir[PROGRAM_PATH_SIZE];
    EXPECT_TRUE(ProgramFolderOf("C:\\line\\LENSKIT.exe", 19, false, dir));
    EXPECT_STREQ(dir, "C:\\line");
    const std::string cut =
        "C:\\" + std::string(PROGRAM_PATH_SIZE - 4, 'c') + "\\L.exe"; // no terminator in reach
    EXPECT_FALSE(ProgramFolderOf(cut.c_str(), PROGRAM_PATH_SIZE, false, dir))
        << "the whole buffer was filled";
    EXPECT_STREQ(dir, "");
    EXPECT_FALSE(ProgramFolderOf("C:\\line\\LENSKIT.exe", 19, true, dir))
        << "too small a buffer was reported";
    EXPECT_FALSE(ProgramFolderOf("", 0, false, dir));

    char path[PROGRAM_PATH_SIZE];
    const std::string deep = "C:\\" + std::string(246, 'd'); // 249 characters: "\\Config.ini" does not fit
    EXPECT_FALSE(ProgramFilePath(deep.c_str(), "Config.ini", path));
    EXPECT_STREQ(path, "");
    EXPECT_TRUE(ProgramFilePath(deep.c_str(), "a.dat", path));
    EXPECT_EQ(std::string(path), deep + "\\a.dat");
    EXPECT_FALSE(ProgramFilePath("", "Config.ini", path)) << "no program directory";
    EXPECT_STREQ(path, "");
}
