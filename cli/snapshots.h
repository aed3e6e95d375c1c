#pragma once
// Snapshots made by a scan without a window, for tolan-list and for the
// window's 保存ファイルの管理: the JSON lines of a folder at every level, and
// a folder's files handed to a comparison as the scan lists them.

#include "engine/comparison.h"
#include "platform/dosfs/file_system.h"
#include "platform/dosfs/file_writer.h"

#include <QString>

#include <cstdio>
#include <functional>

namespace cli {

// What a window runs between folders so that it stays responsive; empty
// for none.
using Events = std::function<void()>;

// The snapshot of the folder `root` (a DOS path) written to `out` (which
// the caller finishes): the lines of tolan-list --format jsonl. Returns the
// error number of the first failed write, 0 when none failed.
int writeSnapshot(const dosfs::FileSystem& fs, const QString& root, dosfs::FileWriter& out,
                  Events events = {});

// A scan of `root` at every level, each file handed to `comparison`, and
// each folder it could not read (whose files before are then unreadable,
// not removed); `threads` readers (0: as the device calls for), `progress` a
// terminal for the progress line or nullptr, `unreadable` where to name the
// folders that could not be read or nullptr.
void scanInto(engine::Comparison& comparison, const dosfs::FileSystem& fs, const QString& root,
              int threads = 0, FILE* progress = nullptr, Events events = {},
              FILE* unreadable = nullptr);

}  // namespace cli
