#include "storage/ColorsFile.h"

#include <gtest/gtest.h>

#include <string>

namespace vorlan::storage {
namespace {

Colors Filled(std::uint32_t value) {
    Colors colors;
    colors.fill(value);
    return colors;
}

constexpr std::uint32_t kUntouched = 0xDEADBEEF;

TEST(ColorsFile, EachLineIsRedPlus256GreenPlus65536Blue) {
    std::string bytes;
    for (int k = 1; k <= 27; ++k) {
        if (k > 1) bytes += "\r\n";
        bytes += std::to_string(k) + "|" + std::to_string(k + 100) + "|" + std::to_string(k + 200);
    }
    Colors colors = Filled(kUntouched);
    ParseColors(bytes, colors);
    for (std::uint32_t k = 1; k <= 27; ++k) {
        EXPECT_EQ(colors[k - 1], k + 256 * (k + 100) + 65536 * (k + 200)) << "colour " << k;
    }
}

TEST(ColorsFile, WhiteSpaceBeforeNumbersAndSignsReadAsScanfWould) {
    Colors colors = Filled(kUntouched);
    ParseColors("  1|\t2| 3\n\n\n4|5|6 7|8|9\r\n+10|+11|+12", colors);
    EXPECT_EQ(colors[0], 0x030201u);
    EXPECT_EQ(colors[1], 0x060504u);
    EXPECT_EQ(colors[2], 0x090807u);
    EXPECT_EQ(colors[3], 0x0C0B0Au);
    EXPECT_EQ(colors[4], kUntouched);
}

TEST(ColorsFile, ComponentsAreClampedSoTheyCannotSpillIntoTheirNeighbours) {
    Colors colors = Filled(kUntouched);
    ParseColors("256|0|0\n-1|-300|1000\n99999999999999999999|0|-99999999999999999999", colors);
    EXPECT_EQ(colors[0], 255u);
    EXPECT_EQ(colors[1], 0xFF0000u);
    EXPECT_EQ(colors[2], 255u);
}

TEST(ColorsFile, FirstColourThatDoesNotParseLeavesItAndTheRestUnchanged) {
    const char* broken[] = {
        "1|2|3\n4|5\n7|8|9",    // missing blue
        "1|2|3\n4 |5|6\n7|8|9",  // space before the bar, which scanf does not skip
        "1|2|3\n4|x|6\n7|8|9",
        "1|2|3\n-|5|6\n7|8|9",   // a sign without digits
        "1|2|3\n4,5,6\n7|8|9",
    };
    for (const char* bytes : broken) {
        Colors colors = Filled(kUntouched);
        ParseColors(bytes, colors);
        EXPECT_EQ(colors[0], 0x030201u) << bytes;
        EXPECT_EQ(colors[1], kUntouched) << bytes;
        EXPECT_EQ(colors[2], kUntouched) << bytes;
    }
}

TEST(ColorsFile, ShortOrEmptyFileKeepsTheColoursItDoesNotName) {
    Colors colors = DefaultColors();
    ParseColors("", colors);
    EXPECT_EQ(colors, DefaultColors());
    ParseColors("0|0|0", colors);
    EXPECT_EQ(colors[0], 0u);
    EXPECT_EQ(colors[26], DefaultColors()[26]);
}

}  // namespace
}  // namespace vorlan::storage
