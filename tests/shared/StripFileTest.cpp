// The checked-in picture strip must be what the generator makes today.
#include "StripBitmap.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

TEST(StripFile, CheckedInFileMatchesGenerator) {
    std::ifstream in(LK_STRIP_FILE, std::ios::binary);
    ASSERT_TRUE(in) << "cannot open " << LK_STRIP_FILE;
    const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::vector<uint8_t> built = BuildStripBitmapFile();
    ASSERT_EQ(file.size(), built.size()) << "regenerate with make_strip " << LK_STRIP_FILE;
    for (size_t i = 0; i < file.size(); ++i)
        ASSERT_EQ(file[i], built[i]) << "byte " << i << " differs; regenerate with make_strip";
}

} // namespace
