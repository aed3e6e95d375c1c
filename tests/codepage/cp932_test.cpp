#include "platform/codepage/cp932.h"

#include "tests/support/qt_print.h"

#include <gtest/gtest.h>

using codepage::cp932Length;
using codepage::fromCp932;
using codepage::toCp932;

TEST(Cp932, EncodesAsciiKanaAndKanjiWithTheirByteCounts) {
    struct Case {
        QString text;
        QByteArray bytes;
    };
    const Case cases[] = {
        {QStringLiteral("ABC"), "ABC"},
        {QStringLiteral("ｶﾀｶﾅ"), "\xB6\xC0\xB6\xC5"},
        {QStringLiteral("あ"), "\x82\xA0"},
        {QStringLiteral("C:\\表"), "C:\\\x95\x5C"},  // the trail byte 0x5C is no separator
        {QStringLiteral("ﾃﾞｨﾚｸﾄﾘ＋ﾌｧｲﾙ"), "\xC3\xDE\xA8\xDA\xB8\xC4\xD8\x81\x7B\xCC\xA7\xB2\xD9"},
        // Long ASCII runs are taken in blocks; the others stop them anywhere.
        {QStringLiteral("C:\\backup\\2024\\資料\\report_final.txt   ｶ        -      1234"),
         "C:\\backup\\2024\\\x8E\x91\x97\xBF\\report_final.txt   \xB6        -      1234"},
    };
    for (const Case& c : cases) {
        bool lossless = false;
        EXPECT_EQ(toCp932(c.text, &lossless), c.bytes) << c.text.toStdString();
        EXPECT_TRUE(lossless);
        EXPECT_EQ(cp932Length(c.text), c.bytes.size());
        QByteArray appended("x");
        codepage::appendCp932(appended, c.text);
        EXPECT_EQ(appended, "x" + c.bytes);
        bool valid = false;
        EXPECT_EQ(fromCp932(c.bytes, &valid), c.text);
        EXPECT_TRUE(valid);
    }
}

TEST(Cp932, ReplacesEachCharacterItCannotHoldByOneQuestionMark) {
    struct Case {
        QString text;
        QByteArray bytes;
    };
    const Case cases[] = {
        {QStringLiteral("café"), "caf?"},
        {QStringLiteral("한글"), "??"},
        {QString::fromUtf8("a\xF0\x9F\x98\x80z"), "a?z"},      // an emoji is one character
        {QString(QChar(0xD800)) + QStringLiteral("x"), "?x"},  // a lone surrogate
        {QStringLiteral("日本é語"), "\x93\xFA\x96\x7B?\x8C\xEA"},
    };
    for (const Case& c : cases) {
        bool lossless = true;
        EXPECT_EQ(toCp932(c.text, &lossless), c.bytes) << c.text.toStdString();
        EXPECT_FALSE(lossless);
        EXPECT_EQ(cp932Length(c.text), c.bytes.size());
    }
}

TEST(Cp932, DecodingMarksInvalidBytes) {
    bool valid = true;
    const QString text = fromCp932(QByteArray("a\x82", 2), &valid);
    EXPECT_FALSE(valid);
    EXPECT_TRUE(text.startsWith(QLatin1Char('a')));
    EXPECT_TRUE(text.contains(QChar(0xFFFD)));

    // Long input goes through the converter's buffer more than once.
    const QString longText = QString(5000, QChar(u'あ'));
    EXPECT_EQ(fromCp932(toCp932(longText)), longText);
    EXPECT_EQ(cp932Length(longText), 10000);
}
