#include "cli/options.h"

#include "tests/support/qt_print.h"

#include <gtest/gtest.h>

using cli::Options;

namespace {

bool parse(const QList<QByteArray>& args, Options& o, QString& error) {
    o = Options();
    return cli::parseOptions(args, o, error);
}

}  // namespace

TEST(Options, ReadsEveryOptionInBothSpellings) {
    Options o;
    QString error;
    ASSERT_TRUE(
        parse({"--mode", "folders", "--type=2", "--ext", "txt", "--width=15000", "--drive",
               "D:=/data", "--drive=e:=/srv", "--encoding", "utf-8", "-o", "out.txt", "C:\\work"},
              o, error))
        << error.toStdString();
    EXPECT_EQ(o.mode, engine::ScanMode::Folders);
    EXPECT_EQ(o.type, engine::ListType::Names);
    EXPECT_EQ(o.ext, QStringLiteral("txt"));
    EXPECT_EQ(o.width, 15000);
    EXPECT_EQ(o.drives, (QList<QByteArray>{"D:=/data", "e:=/srv"}));
    EXPECT_EQ(o.encoding, dosfs::Encoding::Utf8);
    EXPECT_EQ(o.output, QByteArray("out.txt"));
    EXPECT_EQ(o.folder, QByteArray("C:\\work"));

    ASSERT_TRUE(parse({"--ext", ""}, o, error));
    EXPECT_EQ(o.ext, QString());
}

TEST(Options, RejectsWhatItCannotUse) {
    const QList<QList<QByteArray>> bad = {
        {"--width", "wide"},
        {"--width", "-5"},
        {"--width"},
        {"--mode", "tree"},
        {"--type", "3"},
        {"--drive", "D:data"},
        {"--drive", "1:=/x"},
        {"--encoding", "latin1"},
        {"--bogus"},
        {"a", "b"},
        {"-o", ""},
        {"--listing", "sizes"},
        {"--csv"},
        {"--format", "xml"},
        {"--listing", "path", "--format", "jsonl"},
        {"--compare", ""},
        {"--compare", "a.jsonl", "--listing", "path"},
        {"--compare", "a.jsonl", "--format", "pdf"},
        {"--graph", "g.pdf"},
        {"--graph", "g.svg", "--width", "20000"},
        {"--graph", "g.png", "--height", "8"},
        {"--graph", "g.svg", "-o", "x"},
    };
    for (const auto& args : bad) {
        Options o;
        QString error;
        EXPECT_FALSE(parse(args, o, error)) << args.join(' ').constData();
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(Options, FormatPdfPrintsTheLinesOrTheRecordsOfAListing) {
    Options o;
    QString error;
    ASSERT_TRUE(parse({"--listing=path-size", "--csv", "--format", "pdf"}, o, error));
    EXPECT_TRUE(o.pdf && o.csv && !o.jsonLines);
    EXPECT_EQ(o.listing, 2);
}

TEST(Options, GraphTakesItsSizeInPixels) {
    Options o;
    QString error;
    ASSERT_TRUE(parse({"--width=640", "--graph", "g.SVG", "--height", "480"}, o, error));
    EXPECT_EQ(o.graph, QByteArray("g.SVG"));
    EXPECT_EQ(o.graphWidth, 640);
    EXPECT_EQ(o.graphHeight, 480);
    EXPECT_EQ(o.width, Options().width);  // the listing's twips stay as they were
}
