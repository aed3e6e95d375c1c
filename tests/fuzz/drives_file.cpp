// The drives file as a user may write it.

#include "tests/fuzz/fuzz_support.h"

#include "platform/dosfs/drive_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    dosfs::DriveTable table;
    table.parse(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    for (QChar letter : table.letters()) {
        FUZZ_CHECK(table.contains(letter));
        FUZZ_CHECK(!table.chooserEntry(letter).isEmpty());
    }
    FUZZ_CHECK(table.chooserEntries().size() == table.letters().size());
    return 0;
}
