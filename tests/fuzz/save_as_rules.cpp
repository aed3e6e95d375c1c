// The save-as dialog's line count rule and overwrite guard on any text.

#include "tests/fuzz/fuzz_support.h"

#include "engine/listing_state.h"
#include "platform/codepage/cp932.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QByteArray& raw : bytes.split('\n')) {
        const QString line = codepage::fromCp932(raw);
        const bool counts = engine::ListingState::countsAsListedFile(line, false);
        // A line that counts counts after a change of type as well; one
        // starting with "<" never counts.
        FUZZ_CHECK(!counts || engine::ListingState::countsAsListedFile(line, true));
        if (line.startsWith(u'<'))
            FUZZ_CHECK(!engine::ListingState::countsAsListedFile(line, true));
        // Six bytes hold the three characters the rule reads.
        const QString head = codepage::fromCp932(raw.left(6)).left(3);
        FUZZ_CHECK(engine::ListingState::countsAsListedFile(head, false) == counts ||
                   line.left(3) != head);
    }
    return 0;
}
