#include "platform/dosfs/numbered_files.h"

#include "platform/dosfs/errors.h"
#include "platform/dosfs/fault_seam.h"
#include "tests/support/qt_print.h"
#include "tests/support/temp_tree.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using dosfs::NumberedFiles;
using dosfs::OpenMode;

namespace {

QByteArray readHost(const QByteArray& path) {
    QFile f(QString::fromUtf8(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeHost(const QByteArray& path, const QByteArray& bytes) {
    QFile f(QString::fromUtf8(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

// Every text file's line: half-width kana, kanji, a character code page 932
// lacks ("?" there), after what the buffer already holds.
TEST(TextLine, EncodesEachLineAndEndsItWithCrLf) {
    const struct {
        dosfs::Encoding encoding;
        const char16_t* line;
        QByteArray bytes;
    } cases[] = {
        {dosfs::Encoding::Cp932, u"ｱ漢a",
         "\xB1\x8A\xBF"
         "a\r\n"},
        {dosfs::Encoding::Cp932, u"é😀", "??\r\n"},
        {dosfs::Encoding::Cp932, u"", "\r\n"},
        {dosfs::Encoding::Utf8, u"ｱ漢a",
         "\xEF\xBD\xB1\xE6\xBC\xA2"
         "a\r\n"},
        {dosfs::Encoding::Utf8, u"é😀", "\xC3\xA9\xF0\x9F\x98\x80\r\n"},
    };
    for (const auto& c : cases) {
        QByteArray out("kept");
        dosfs::appendLine(out, QString::fromUtf16(c.line), c.encoding);
        EXPECT_EQ(out, "kept" + c.bytes) << QString::fromUtf16(c.line).toStdString();
    }
}

class NumberedFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.folder("out");
        dosfs::DriveTable drives;
        drives.set(u'C', tree.root());
        fs.setDrives(drives);
    }
    void TearDown() override { dosfs::faults::clearAll(); }
    TempTree tree;
    dosfs::FileSystem fs;
};

TEST_F(NumberedFilesTest, WritesCodePage932LinesWithCrLfAndAppends) {
    NumberedFiles files(fs);
    ASSERT_EQ(files.open(3, QStringLiteral("C:\\OUT\\DIR.TXT"), OpenMode::Replace), 0);
    EXPECT_EQ(files.open(3, QStringLiteral("C:\\OUT\\other.txt"), OpenMode::Replace),
              dosfs::kFileAlreadyOpen);
    EXPECT_EQ(files.printLine(3, QStringLiteral("ｱいu")), 0);
    EXPECT_EQ(files.printLine(3, QString()), 0);
    EXPECT_EQ(files.close(3), 0);
    EXPECT_EQ(readHost(tree.path("out/DIR.TXT")), QByteArray("\xB1\x82\xA2u\r\n\r\n"));

    ASSERT_EQ(files.open(1, QStringLiteral("c:\\out\\dir.txt"), OpenMode::Append), 0);
    files.printLine(1, QStringLiteral("more"));
    files.closeAll();
    EXPECT_EQ(readHost(tree.path("out/DIR.TXT")), QByteArray("\xB1\x82\xA2u\r\n\r\nmore\r\n"));

    EXPECT_EQ(files.printLine(1, QStringLiteral("closed")), dosfs::kBadFileNameOrNumber);
    EXPECT_EQ(files.open(2, QStringLiteral("C:\\nowhere\\x.txt"), OpenMode::Replace),
              dosfs::kPathNotFound);
    EXPECT_EQ(dosfs::deleteFile(fs, QStringLiteral("C:\\out\\DIR.TXT")), 0);
    EXPECT_EQ(dosfs::deleteFile(fs, QStringLiteral("C:\\out\\DIR.TXT")), dosfs::kFileNotFound);
}

TEST_F(NumberedFilesTest, ReadsLinesAndItemsByTheSequentialInputRules) {
    writeHost(tree.path("out/in.txt"),
              "  00012 , \"quoted, with comma\"  ,plain\r\n"
              "\"open quote\r\n"
              ",\r\n"
              "\x82\xA0\n"
              "last");
    NumberedFiles files(fs);
    ASSERT_EQ(files.open(1, QStringLiteral("C:\\out\\in.txt"), OpenMode::Input), 0);
    QString item;
    const QStringList expected = {QStringLiteral("00012"),
                                  QStringLiteral("quoted, with comma"),
                                  QStringLiteral("plain"),
                                  QStringLiteral("open quote"),
                                  QString(),
                                  QString()};
    for (const QString& want : expected) {
        ASSERT_EQ(files.input(1, item), 0);
        EXPECT_EQ(item, want);
    }
    QString line;
    bool valid = false;
    ASSERT_EQ(files.lineInput(1, line, &valid), 0);
    EXPECT_EQ(line, QStringLiteral("あ"));
    EXPECT_TRUE(valid);
    ASSERT_EQ(files.lineInput(1, line), 0);
    EXPECT_EQ(line, QStringLiteral("last"));
    EXPECT_TRUE(files.eof(1));
    EXPECT_EQ(files.lineInput(1, line), dosfs::kInputPastEnd);
    EXPECT_EQ(files.open(2, QStringLiteral("C:\\out\\none.txt"), OpenMode::Input),
              dosfs::kFileNotFound);
}

TEST_F(NumberedFilesTest, ReportsAFullDiskAndADeniedFolder) {
    NumberedFiles files(fs);
    dosfs::faults::fillDiskAfter(tree.path("out"), 10);
    ASSERT_EQ(files.open(3, QStringLiteral("C:\\out\\full.txt"), OpenMode::Replace), 0);
    files.printLine(3, QStringLiteral("0123456789abcdef"));
    EXPECT_EQ(files.close(3), dosfs::kDiskFull);

    dosfs::faults::denyFolder(tree.path("out"));
    EXPECT_EQ(files.open(3, QStringLiteral("C:\\out\\denied.txt"), OpenMode::Replace),
              dosfs::kPermissionDenied);
}

TEST_F(NumberedFilesTest, InputIsReadInPiecesWithoutSplittingALineEnd) {
    // Lines whose CR LF straddles the 64 KiB pieces the input is read in.
    const QByteArray first(65535, 'x');
    const QByteArray second(65534, 'y');
    writeHost(tree.path("out/big.txt"), first + "\r\n" + second + "\r\nlast");
    NumberedFiles files(fs);
    ASSERT_EQ(files.open(1, QStringLiteral("C:\\out\\big.txt"), OpenMode::Input), 0);
    QByteArray line;
    QList<QByteArray> lines;
    while (files.lineInputBytes(1, line) == 0) lines << line;
    EXPECT_EQ(lines, (QList<QByteArray>{first, second, "last"}));
    EXPECT_TRUE(files.eof(1));
}

TEST_F(NumberedFilesTest, AReplacementIsKeptOnlyWhenItsOwnCloseSucceeds) {
    writeHost(tree.path("out/list.txt"), "earlier\r\n");
    NumberedFiles files(fs);
    // Closed with the rest (the program ends while a command yields): the
    // half-written replacement goes, the earlier file stays.
    ASSERT_EQ(files.open(1, QStringLiteral("C:\\out\\list.txt"), OpenMode::Replace), 0);
    files.printLine(1, QStringLiteral("half"));
    files.closeAll();
    EXPECT_EQ(readHost(tree.path("out/list.txt")), "earlier\r\n");
    EXPECT_EQ(QDir(QString::fromUtf8(tree.path("out"))).entryList(QDir::Files),
              QStringList{QStringLiteral("list.txt")});
    ASSERT_EQ(files.open(1, QStringLiteral("C:\\out\\list.txt"), OpenMode::Replace), 0);
    files.printLine(1, QStringLiteral("whole"));
    EXPECT_EQ(files.close(1), 0);
    EXPECT_EQ(readHost(tree.path("out/list.txt")), "whole\r\n");
}
