#include "archivers/dos_time.h"

#include <gtest/gtest.h>

namespace pyx {
namespace {

TEST(DosTime, RoundTripsThroughLocalTime) {
    // 2000-01-01 00:00:00 and 1999-12-31 23:59:58
    for (const DosStamp s : {DosStamp{0x2821, 0x0000}, DosStamp{0x279F, 0xBF7D}}) {
        const auto t = TimeFromDosStamp(s);
        ASSERT_TRUE(t.has_value());
        const auto back = DosStampFromTime(*t);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->Key(), s.Key());
    }
}

TEST(DosTime, RejectsFieldsOutOfRange) {
    const DosStamp bad[] = {
        {0x2801, 0},         // month 0
        {0x2821 | 0x1F, 0},  // day 31 in January is fine, so use Feb 30:
        {0x2840 | 30, 0},    // 2000-02-30
        {0x2821, 24 << 11},  // hour 24
        {0x2821, 60 << 5},   // minute 60
        {0x2821, 30},        // second 60
    };
    EXPECT_TRUE(TimeFromDosStamp(bad[1]).has_value());
    for (const auto s : {bad[0], bad[2], bad[3], bad[4], bad[5]}) {
        EXPECT_FALSE(TimeFromDosStamp(s).has_value()) << std::hex << s.date << " " << s.time;
    }
}

}  // namespace
}  // namespace pyx
