// Snapshot lines of any bytes: a line is taken or refused, never read past
// its end; a path taken is one below the folder (no empty, "." or ".."
// part), and written again as the listing writes host bytes it reads back
// the same.

#include "tests/fuzz/fuzz_support.h"

#include "engine/snapshot.h"
#include "engine/snapshot_format.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QByteArray& raw : bytes.split('\n')) {
        // Padding as the reader gives it, and no more.
        std::string line(raw.constData(), size_t(raw.size()));
        line.resize(line.size() + 64, ' ');
        engine::SnapshotFile file;
        QString message;
        const engine::LineFault fault =
            engine::parseSnapshotLine(line.data(), size_t(raw.size()), line.size(), file, message);
        FUZZ_CHECK((fault == engine::LineFault::None) == message.isEmpty());
        if (fault != engine::LineFault::None) continue;
        for (const QByteArray& part : file.path.split('/'))
            FUZZ_CHECK(!part.isEmpty() && part != "." && part != "..");
        QByteArray again = "{\"path\":";
        engine::appendJsonHostString(again, file.path);
        again += ",\"size\":null,\"mtime\":null}";
        std::string padded(again.constData(), size_t(again.size()));
        padded.resize(padded.size() + 64, ' ');
        engine::SnapshotFile back;
        FUZZ_CHECK(engine::parseSnapshotLine(padded.data(), size_t(again.size()), padded.size(),
                                             back, message) == engine::LineFault::None);
        FUZZ_CHECK(back.path == file.path);
    }
    return 0;
}
