#include "engine/line_routes.h"

#include <gtest/gtest.h>

using namespace engine;

TEST(LineRoutes, EachKindOfLineGoesWhereItsModeListsIt) {
    constexpr Destinations B = kToSideB, W = kToWorkFile, A = kToSideA, none = 0;
    struct Row {
        LineKind kind;
        Destinations totals, plain, folders;
    };
    const Row rows[] = {
        {LineKind::Banner, B | W, B | W, B | W}, {LineKind::Drive, B | W, none, B | W},
        {LineKind::Header, B | W, none, none},   {LineKind::File, B | W | A, B | W | A, A},
        {LineKind::Footer, B | W, none, B | W},  {LineKind::Total, B | W, none, B | W},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(static_cast<int>(r.kind));
        EXPECT_EQ(destinations(r.kind, ScanMode::Totals), r.totals);
        EXPECT_EQ(destinations(r.kind, ScanMode::Plain), r.plain);
        EXPECT_EQ(destinations(r.kind, ScanMode::Folders), r.folders);
    }
}

TEST(ExtensionFilter, MatchesTheThreeCharactersAfterTheFirstDotInAnyCase) {
    const ExtensionFilter txt(QStringLiteral("txt"));
    EXPECT_TRUE(txt.matchesPath(QStringLiteral("C:\\a.TXT")));
    EXPECT_TRUE(txt.matchesPath(QStringLiteral("C:\\x.tar.txt")));  // by the last five
    EXPECT_FALSE(txt.matchesPath(QStringLiteral("C:\\TXT")));
    EXPECT_TRUE(txt.matchesField(QStringLiteral("a.txt   ")));
    EXPECT_FALSE(txt.matchesField(QStringLiteral("a.tx    ")));
    // Only "*" exactly lists every folder as it is; the grand total also
    // takes " * " for every file.
    const ExtensionFilter blanks(QStringLiteral(" * "));
    EXPECT_FALSE(blanks.everyFile());
    EXPECT_TRUE(blanks.everyFileTrimmed());
    EXPECT_TRUE(ExtensionFilter().everyFile());
}
