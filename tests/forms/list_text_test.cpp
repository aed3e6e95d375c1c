// A list's text store gives back every item exactly as it was added,
// however many there are and whatever they hold.

#include "platform/forms/list_text.h"

#include "tests/support/qt_print.h"

#include <gtest/gtest.h>

TEST(ListText, ItemsComeBackExactlyInAnyOrderAcrossBlocksAndClears) {
    const QString samples[] = {
        QString(),
        QStringLiteral("emoji \U0001F600 pair"),
        QString(QChar(0xD800)) + QStringLiteral(" lone high"),
        QStringLiteral("lone low ") + QChar(0xDC00),
        QStringLiteral("escaped \uF7FF byte"),
        // Runs of spaces are kept packed: short, long, at either end.
        QStringLiteral("a  b   c") + QString(300, u' ') + QStringLiteral("d"),
        QString(3, u' ') + QStringLiteral("x") + QString(255, u' ') + QString(256, u' '),
    };
    // The lines of folders as a scan gives them, which share long starts
    // (over 127 bytes for the deep ones), with a sample after each folder,
    // and one item longer than a block.
    std::vector<QString> lines;
    const QString deep = QStringLiteral("C:\\") + QString(150, u'長') + QStringLiteral("\\");
    for (int folder = 0; folder < 600; ++folder) {
        const QString path = (folder % 3        ? deep
                              : folder % 6 == 3 ? QStringLiteral("C:\\plain\\ascii\\")
                                                : QStringLiteral("C:\\資料\\ﾃｽﾄ\\")) +
                             QStringLiteral("d%1\\").arg(folder);
        lines.push_back(path);
        for (int file = 0; file < 25; ++file)
            lines.push_back(QStringLiteral("  ") + path +
                            QStringLiteral("f%1.txt     -   %2").arg(file).arg(file * 1000));
        lines.push_back(samples[folder % std::size(samples)] + QString::number(folder));
    }
    lines.push_back(QString(1500000, QChar(u'表')));
    lines.push_back(lines[1]);
    forms::ListText text;
    const int n = static_cast<int>(lines.size());
    for (int round = 0; round < 2; ++round) {
        for (const QString& line : lines) text.append(line);
        ASSERT_EQ(text.count(), n);
        for (int i = n - 1; i >= 0; --i) ASSERT_EQ(text.at(i), lines[size_t(i)]) << i;
        for (int i = 0, k = 0; i < n; ++i, k = (k + 37) % n)
            ASSERT_EQ(text.at(k), lines[size_t(k)]) << k;
        for (int i = 0; i < n; ++i) ASSERT_EQ(text.at(i), lines[size_t(i)]) << i;
        EXPECT_EQ(text.at(n), QString());
        text.clear();
        EXPECT_EQ(text.count(), 0);
    }
    // The folders' lines, some megabytes of text, in a fraction of the room
    // (blocks of a megabyte, the last one partly filled).
    size_t bytes = 0;
    for (const QString& line : lines) bytes += size_t(line.toUtf8().size());
    bytes -= size_t(lines[size_t(n) - 2].toUtf8().size());
    for (int i = 0; i < n - 2; ++i) text.append(lines[size_t(i)]);
    EXPECT_GT(bytes, size_t(4) << 20);
    EXPECT_LT(text.memoryUsed(), bytes / 4 + (size_t(1) << 20));
}

// The sideways scroll range follows the widest item in display cells, as
// the code page counts them: one for ASCII, half-width katakana and a
// character it cannot hold (shown as "?"), two for any other, whether runs
// of spaces are packed or not.
TEST(ListText, TheWidestItemIsCountedInDisplayCells) {
    const struct {
        QString item;
        size_t widest;
    } rows[] = {
        {QStringLiteral("abc"), 3},
        {QStringLiteral("漢字"), 4},
        {QStringLiteral("ab"), 4},
        {QStringLiteral("ｱｲｳｴｵ"), 5},
        {QStringLiteral("한글한글한글 \U0001F600"), 8},
        {QStringLiteral("x") + QString(300, u' ') + QStringLiteral("漢"), 303},
        {QString(QChar(0xD800)) + QString(400, u'a'), 401},
    };
    forms::ListText text;
    for (const auto& r : rows) {
        text.append(r.item);
        EXPECT_EQ(text.widest(), r.widest) << r.item.toStdString();
    }
}
