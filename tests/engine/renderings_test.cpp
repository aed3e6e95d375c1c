#include "engine/renderings.h"
#include "tests/support/field_texts.h"

#include "platform/dosfs/directory.h"

#include "tests/support/qt_print.h"

#include <gtest/gtest.h>

using namespace engine;

TEST(Renderings, SizeTextIsRightAlignedInNineAndGrowsForLongerSizes) {
    EXPECT_EQ(sizeText(0), QStringLiteral("        0"));
    EXPECT_EQ(sizeText(12345), QStringLiteral("    12345"));
    EXPECT_EQ(sizeText(123456789), QStringLiteral("123456789"));
    EXPECT_EQ(sizeText(1234567890), QStringLiteral("1234567890"));
    EXPECT_EQ(sizeText(dosfs::kNoSize), QStringLiteral("         "));
    EXPECT_EQ(sizeValue(dosfs::kNoSize), 0);
    EXPECT_EQ(sizeValue(1234567890), 1234567890);
}

TEST(Renderings, CountTextKeepsItsFieldAndGrowsWhenLonger) {
    EXPECT_EQ(countText(0, 5), QStringLiteral("    0"));
    EXPECT_EQ(countText(42, 6), QStringLiteral("    42"));
    EXPECT_EQ(countText(1234567, 5), QStringLiteral("1234567"));
}

TEST(Renderings, KilobytesAreTruncatedToTwoDecimalsInTheShortestForm) {
    struct Case {
        qint64 bytes;
        int digits;
        const char* text;
    };
    const Case cases[] = {
        {0, 7, "0"},
        {9, 7, "0"},
        {50, 7, "0.05"},
        {100, 7, "0.1"},  // ten files of 10 bytes
        {999, 7, "0.99"},
        {1000, 7, "1"},
        {12345, 7, "12.34"},
        {12399, 7, "12.39"},
        {123456789, 7, "123456.8"},  // seven significant digits, rounded
        {1234567890, 7, "1234568"},
        {9999999990, 7, "1E+07"},  // 9999999.99 rounds up to eight digits
        {12345678000, 7, "1.234568E+07"},
        {10000000000, 7, "1E+07"},
        {123456789012345, 7, "1.234568E+11"},
        {1234567890, 15, "1234567.89"},
        {123456789012345, 15, "123456789012.34"},
        {999999999999999999, 15, "1E+15"},
        {1234567890123456789, 15, "1.23456789012346E+15"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kbText(c.bytes, c.digits), QLatin1String(c.text)) << c.bytes << "/" << c.digits;
}

TEST(Renderings, DatesUseTheGeneralFormAndPadOneDigitHours) {
    struct Case {
        qint64 time;
        const char* general;
        const char* padded;
    };
    const Case cases[] = {
        {1704431229, "2024/01/05 5:07:09", "2024/01/05 05:07:09"},
        {1704412800, "2024/01/05", "2024/01/05"},  // midnight: the date alone
        {1704067199, "2023/12/31 23:59:59", "2023/12/31 23:59:59"},
        {dosfs::kNoTime, "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dateText(c.time), QLatin1String(c.general));
        QString padded = QStringLiteral("x");
        appendDateText(padded, c.time, true);
        EXPECT_EQ(padded, QLatin1String("x") + QLatin1String(c.padded));
    }
    const Today t = today(1796738584);
    EXPECT_EQ(t.date, QStringLiteral("12-08-2026"));
    EXPECT_EQ(t.time, QStringLiteral("14:03:04"));
}
