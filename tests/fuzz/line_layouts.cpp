// The listing lines on any name and window width: every field keeps its
// column width in code page 932 bytes.

#include "tests/fuzz/fuzz_support.h"
#include "tests/support/field_texts.h"

#include "engine/line_layout.h"
#include "platform/codepage/cp932.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const int window = 12045 + (data[0] | (data[1] << 8)) % 40000;
    const bool type2 = data[2] & 1;
    const bool folders = data[2] & 2;
    const QString name = utf16(data + 3, size - 3);
    const Class1 c1;
    const engine::LayoutWidths w = engine::layoutWidths(window, type2, folders);

    FUZZ_CHECK(codepage::cp932Length(engine::shortNameField(c1, name, true, w)) ==
               w.nameFieldWidth);
    const engine::Footer footer = engine::folderFooter(w, size, size * 1000, data[2] & 4);
    FUZZ_CHECK(codepage::cp932Length(engine::footerWithName(c1, footer, name, w)) ==
               w.footerIndent + footer.count.size() + footer.kbPart.size());
    // The full-path field belongs to output type 1.
    const engine::LayoutWidths w1 = engine::layoutWidths(window, false, folders);
    FUZZ_CHECK(codepage::cp932Length(engine::nameField(c1, name, true, w1)) == w1.nameColumnWidth);
    engine::nameField(c1, name, false, w1);
    QString fitted = name;
    int extra = c1.extra(name);
    QString suffix;
    engine::FitNameColumn(c1, fitted, extra, w.footerIndent, suffix);
    return 0;
}
