// The records of the listing files, one table for every command and form.

#include "output/listing_records.h"

#include "tests/support/qt_print.h"

#include <gtest/gtest.h>

using output::Columns;

namespace {

struct Case {
    Columns columns;
    bool csv;
    const char* name;
    const char* size;
    const char* date;
    const char* expected;
};

}  // namespace

TEST(ListingRecords, EachCommandWritesItsColumnsInTxtAndCsvForm) {
    const Case cases[] = {
        {Columns::NameSizeDate, false, "C:\\DATA\\REPORT\\SALES.XLS", "    123456",
         "2001/04/05 13:45:10", "C:\\DATA\\REPORT\\SALES.XLS,123456,2001/04/05 13:45:10"},
        {Columns::FolderFileSizeDate, false, "C:\\DATA\\REPORT\\SALES.XLS", "    123456",
         "2001/04/05 13:45:10", "C:\\DATA\\REPORT,SALES.XLS,123456,2001/04/05 13:45:10"},
        {Columns::NameSize, false, "C:\\DATA\\REPORT\\SALES.XLS", "    123456",
         "2001/04/05 13:45:10", "C:\\DATA\\REPORT\\SALES.XLS,123456"},
        {Columns::NameDate, false, "C:\\DATA\\REPORT\\SALES.XLS", "    123456",
         "2001/04/05 13:45:10", "C:\\DATA\\REPORT\\SALES.XLS,2001/04/05 13:45:10"},
        {Columns::Name, false, "C:\\DATA\\REPORT\\SALES.XLS", "    123456", "2001/04/05 13:45:10",
         "C:\\DATA\\REPORT\\SALES.XLS"},
        {Columns::NameSizeDate, true, "C:\\DATA\\REPORT\\SALES.XLS", "    123456",
         "2001/04/05 13:45:10",
         "\"C:\\DATA\\REPORT\\SALES.XLS\",\"123456\",\"2001/04/05 13:45:10\""},
        {Columns::FolderFileSizeDate, true, "C:\\DATA\\REPORT\\SALES.XLS", "    123456",
         "2001/04/05 13:45:10",
         "\"C:\\DATA\\REPORT\",\"SALES.XLS\",\"123456\",\"2001/04/05 13:45:10\""},
        {Columns::Name, true, "C:\\DATA\\REPORT\\SALES.XLS", "", "",
         "\"C:\\DATA\\REPORT\\SALES.XLS\""},
        // A root entry: folder "C:".
        {Columns::FolderFileSizeDate, false, "C:\\A.TXT", "1", "d", "C:,A.TXT,1,d"},
        // A comma breaks the TXT columns but stays one CSV field; a quote is doubled.
        {Columns::NameSize, false, "C:\\a,b.txt", "5", "", "C:\\a,b.txt,5"},
        {Columns::NameSize, true, "C:\\say \"hi\".txt", "5", "",
         "\"C:\\say \"\"hi\"\".txt\",\"5\""},
        // Only blanks are trimmed; a tab is part of the name.
        {Columns::Name, false, "  C:\\x\t ", "", "", "C:\\x\t"},
        // Empty size and date columns (a dangling link) stay empty fields.
        {Columns::NameSizeDate, true, "C:\\l", "", "", "\"C:\\l\",\"\",\"\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(output::record(c.columns, QString::fromUtf8(c.name), QString::fromUtf8(c.size),
                                 QString::fromUtf8(c.date), c.csv),
                  QString::fromUtf8(c.expected))
            << c.name;
}

TEST(ListingRecords, TheFolderSplitStopsAtTheTenthBackslash) {
    struct Split {
        const char* path;
        const char* folder;
        const char* file;
    } splits[] = {
        {"C:\\A.TXT", "C:", "A.TXT"},
        {"C:\\1\\2\\3\\4\\5\\6\\7\\8\\9\\f", "C:\\1\\2\\3\\4\\5\\6\\7\\8\\9", "f"},  // ten
        {"C:\\1\\2\\3\\4\\5\\6\\7\\8\\9\\10\\f", "C:\\1\\2\\3\\4\\5\\6\\7\\8\\9",
         "10\\f"},  // eleven
        {"C:\\dir\\", "C:\\dir", ""},
        {"no-backslash", "", "no-backslash"},
    };
    for (const Split& s : splits) {
        QString folder, file;
        output::splitFolder(QString::fromUtf8(s.path), folder, file);
        EXPECT_EQ(folder, QString::fromUtf8(s.folder)) << s.path;
        EXPECT_EQ(file, QString::fromUtf8(s.file)) << s.path;
    }
}
