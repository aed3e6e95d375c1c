// A list box gives back every item exactly as it was added, however many
// there are and whatever they hold.

#include "platform/forms/list_box.h"

#include "platform/forms/form.h"
#include "tests/support/qt_print.h"
#include "tests/support/test_application.h"

#include <gtest/gtest.h>

TEST(ListBoxItems, ComeBackExactlyAcrossBlocksAndClears) {
    const QString samples[] = {
        QString(),
        QStringLiteral("C:\\work\\report.txt"),
        QStringLiteral("  C:\\資料\\ﾃｽﾄ.txt      -     1234"),
        QStringLiteral("emoji \U0001F600 pair"),
        QString(QChar(0xD800)) + QStringLiteral(" lone high"),
        QStringLiteral("lone low ") + QChar(0xDC00),
        QStringLiteral("escaped \uF7FF byte"),
    };
    TestApplication app;
    forms::Form form(app, QStringLiteral("Test"));
    forms::ListBox box(form, nullptr, QStringLiteral("List1"), -1);
    for (int round = 0; round < 2; ++round) {
        // Enough items to fill several blocks, and one longer than a block.
        const int count = 40000;
        for (int i = 0; i < count; ++i) box.addItem(samples[i % 7] + QString::number(i));
        const QString huge(1500000, QChar(u'表'));
        box.addItem(huge);
        box.addItem(samples[2]);
        ASSERT_EQ(box.listCount(), count + 2);
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(box.list(i), samples[i % 7] + QString::number(i)) << i;
        EXPECT_EQ(box.list(count), huge);
        EXPECT_EQ(box.list(count + 1), samples[2]);
        EXPECT_EQ(box.list(count + 2), QString());
        box.clear();
        EXPECT_EQ(box.listCount(), 0);
    }
}
