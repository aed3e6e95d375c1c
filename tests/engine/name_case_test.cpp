// Names change case one character to one character: in the scan's order, the
// comparison's merge order and the extension filter alike.

#include "engine/extension_filter.h"
#include "engine/listing_order.h"
#include "tests/engine/scan_fixture.h"

#include <gtest/gtest.h>

using Mode = ScanFixture::Mode;

TEST(NameCase, TheScanAndTheMergeOrderNamesByEachCharactersOwnCase) {
    TempTree tree;
    // "İ" lower-cased whole would be "i" and a combining dot, after "ic".
    const QStringList expected{
        QStringLiteral("fi.txt"), QStringLiteral("Ib.txt"), QStringLiteral("İb.txt"),
        QStringLiteral("ic.txt"), QStringLiteral("ss.txt"), QStringLiteral("ß.txt"),
        QStringLiteral("ı.txt"),  QStringLiteral("ǅ.txt"),  QStringLiteral("ǆ.txt"),
        QStringLiteral("𐐀.txt"),  QStringLiteral("𐐩.txt"),  QStringLiteral("ﬁ.txt")};
    for (auto it = expected.crbegin(); it != expected.crend(); ++it)
        tree.file(it->toUtf8().constData(), 1);
    ScanFixture f(tree);
    f.run(Mode::Plain);
    QStringList order;
    for (const SideARow& row : f.host.sideA) order.append(row.path.mid(3));
    EXPECT_EQ(order, expected);

    // The merge walks a snapshot and a scan in this same order.
    engine::ListingPlace before;
    engine::ListingPlace after;
    for (qsizetype i = 1; i < expected.size(); ++i) {
        before.set(expected[i - 1].toUtf8());
        after.set(expected[i].toUtf8());
        EXPECT_LT(before.compare(after), 0) << expected[i - 1].toStdString();
    }
}

TEST(NameCase, TheExtensionFilterComparesEachCharacterByItsOwnUpperCase) {
    struct Case {
        const char* filter;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"txt", "a.TxT", true}, {"ß", "x.ß", true}, {"ß", "x.ss", false}, {"ss", "x.ß", false},
        {"fi", "x.ﬁ", false},   {"ﬁ", "x.ﬁ", true}, {"i", "x.ı", true},   {"i", "x.İ", false},
        {"ǆ", "x.ǅ", true},     {"ǅ", "x.Ǆ", true}, {"ss", "x.SS", true}, {"ᾼ", "x.ᾳ", true},
    };
    for (const Case& c : cases) {
        const engine::ExtensionFilter filter(QString::fromUtf8(c.filter));
        const QString name = QString::fromUtf8(c.name);
        SCOPED_TRACE(std::string(c.filter) + " " + c.name);
        EXPECT_EQ(filter.matchesPath(QStringLiteral("C:\\a\\") + name), c.matches);
        EXPECT_EQ(filter.matchesField(name + QStringLiteral("   ")), c.matches);
    }
}
