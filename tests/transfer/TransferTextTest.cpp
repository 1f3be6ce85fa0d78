// The texts of transfers: sizes, buffer sizes, port ranges, offered names and
// the control payloads.
#include <gtest/gtest.h>

#include "transfer/ControlPayload.h"
#include "transfer/TransferText.h"

namespace vorlan::transfer {
namespace {

TEST(TransferText, FormatSizeCutsToTwoDecimalsInEachUnit) {
    EXPECT_EQ(FormatSize(0), "0 B");
    EXPECT_EQ(FormatSize(1023), "1023 B");
    EXPECT_EQ(FormatSize(1536), "1.50 KB");
    EXPECT_EQ(FormatSize(1048575), "1023.99 KB");
    EXPECT_EQ(FormatSize(1048576), "1.00 MB");
    EXPECT_EQ(FormatSize(1073741823), "1023.99 MB");
    EXPECT_EQ(FormatSize(1073741824000LL), "1000.00 GB");
}

TEST(TransferText, BufferSizesAreNormalisedOrAbandoned) {
    auto text = [](const char* field) {
        auto size = ParseBufferSize(field);
        return size ? size->text + "=" + std::to_string(size->bytes) : std::string("abandoned");
    };
    EXPECT_EQ(text(" 64 kb "), "64 KB=65536");
    EXPECT_EQ(text("2048 KB"), "1024 KB=1048576");
    EXPECT_EQ(text("3 MB"), "1 MB=1048576");
    EXPECT_EQ(text("100"), "100 B=100");
    EXPECT_EQ(text("2000000 B"), "1048576 B=1048576");
    EXPECT_EQ(text("0 MB"), "abandoned");
    EXPECT_EQ(text("-5"), "abandoned");
    EXPECT_EQ(text(""), "abandoned");
    EXPECT_EQ(text("99999999999999 KB"), "1024 KB=1048576");
}

TEST(TransferText, PortRangesAreOrderedAndNormalised) {
    auto range = [](const char* field) {
        const PortRange r = ParsePortRange(field);
        return std::to_string(r.first) + "," + std::to_string(r.last) + "," + r.text;
    };
    EXPECT_EQ(range("5000-4000"), "4000,5000,4000-5000");
    EXPECT_EQ(range(" 4000 - 4000 "), "4000,0,4000");
    EXPECT_EQ(range("abc"), "0,0,0");
    EXPECT_EQ(range("-7"), "0,0,0");
    EXPECT_EQ(range("6000"), "6000,0,6000");
}

TEST(TransferText, OfferedNamesKeepOnlyASafeLastComponent) {
    EXPECT_EQ(SafeFileName("report.pdf"), "report.pdf");
    EXPECT_EQ(SafeFileName("..\\..\\Windows\\win.ini"), "win.ini");
    EXPECT_EQ(SafeFileName("C:evil.exe"), "evil.exe");
    EXPECT_EQ(SafeFileName("a/b/../c.txt"), "c.txt");
    EXPECT_EQ(SafeFileName(".."), "");
    EXPECT_EQ(SafeFileName("dir\\"), "");
    EXPECT_EQ(SafeFileName("CON"), "_CON");
    EXPECT_EQ(SafeFileName("nul.txt"), "_nul.txt");
    EXPECT_EQ(SafeFileName("com1"), "_com1");
    EXPECT_EQ(SafeFileName("console.txt"), "console.txt");
    EXPECT_EQ(SafeFileName("a?b*.txt. "), "a_b_.txt");
    EXPECT_EQ(SafeFileName(std::string("x\0y", 3)), "x_y");
}

TEST(TransferText, PercentNeverDividesByZeroOrOverflows) {
    EXPECT_EQ(Percent(0, 0), 100);
    EXPECT_EQ(Percent(1, 3), 33);
    EXPECT_EQ(Percent((5LL << 30), (5LL << 30) + 10), 99);
    EXPECT_EQ(Percent(INT64_MAX - 1, INT64_MAX), 99);
}

TEST(ControlPayload, BuildersAndParsersAgree) {
    using namespace control;
    const std::string sep = "\xAC";
    EXPECT_EQ(Offer(false, 3, 1536, "a.txt"), "03" + sep + "121536" + sep + "a.txt");
    EXPECT_EQ(Offer(true, 3, 5LL << 32, "a"), "03" + sep + "13" + std::to_string(5LL << 32) + sep + "a");
    EXPECT_EQ(SenderListening(7, 4000), "17" + sep + "144000");
    EXPECT_EQ(ReceiverListening(7, 4000, 5), "17" + sep + "014000" + sep + "5");
    EXPECT_EQ(ReceiverWillConnect(7, 9), "07" + sep + "029");
    EXPECT_EQ(Notice(kReceiverCanceled, 12), "012" + sep + "00");

    const auto control = ParseControl("1457" + sep + "3" + sep + "121536" + sep + "a" + sep + "b");
    ASSERT_TRUE(control);
    EXPECT_EQ(std::tuple(control->originator, control->transferId, control->subCode),
              std::tuple(57, 3, std::string("12")));
    const auto offer = ParseOffer(control->fields);
    ASSERT_TRUE(offer);
    EXPECT_EQ(std::pair(offer->size, offer->name), std::pair(std::int64_t{1536}, "a" + sep + "b"));
    const auto endpoint = ParseReceiverListening("10.0.0.2" + sep + "4000" + sep + "6000000000");
    ASSERT_TRUE(endpoint);
    EXPECT_EQ(std::tuple(endpoint->address, endpoint->port, endpoint->offset),
              std::tuple(std::string("10.0.0.2"), 4000, std::int64_t{6000000000}));

    EXPECT_FALSE(ParseControl("1457" + sep + "3"));                // no SEP after the transfer id
    EXPECT_FALSE(ParseControl("1457" + sep + "-1" + sep + "12"));  // transfer id out of range
    EXPECT_FALSE(ParseControl("140" + sep + "1" + sep + "12"));    // no user 0
    EXPECT_FALSE(ParseSenderListening("a" + sep + "70000"));       // no such port
    EXPECT_FALSE(ParseOffset("99999999999999999999"));             // beyond 64 bits
    EXPECT_FALSE(ParseOffer("12a" + sep + "x"));
}

}  // namespace
}  // namespace vorlan::transfer
