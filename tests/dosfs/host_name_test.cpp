#include "platform/dosfs/host_name.h"

#include "tests/support/qt_print.h"

#include <gtest/gtest.h>

using dosfs::decodeHostName;
using dosfs::encodeHostName;

TEST(HostName, EveryByteStringComesBackUnchanged) {
    const QByteArray names[] = {
        "plain.txt",
        "\xE6\x97\xA5\xE6\x9C\xAC.txt",  // valid UTF-8
        "bad\xFF\xFE name",              // not UTF-8
        "a\\b",                          // a backslash inside a name
        "\xEF\x9D\x9C",                  // U+F75C itself, the escape of '\'
        "\xC0\xAF",                      // overlong '/'
        "\xED\xA0\x80",                  // an encoded surrogate
        "\xF0\x9F\x98\x80",              // an emoji
        "\xE6\x97",                      // a cut sequence
    };
    for (const QByteArray& name : names) EXPECT_EQ(encodeHostName(decodeHostName(name)), name);
}

TEST(HostName, DecodesValidUtf8AndEscapesTheRest) {
    EXPECT_EQ(decodeHostName("\xE6\x97\xA5"), QStringLiteral("日"));
    const QString escaped = decodeHostName("a\\b\xFF");
    EXPECT_EQ(escaped.size(), 4);
    EXPECT_FALSE(escaped.contains(QLatin1Char('\\')));
    EXPECT_EQ(escaped[0], QLatin1Char('a'));
    EXPECT_EQ(escaped[2], QLatin1Char('b'));
}
