#pragma once
// The listing printed on pages as a PDF, for tolan-list-draw.

#include "platform/dosfs/file_writer.h"
#include "platform/forms/list_box.h"

#include <QString>

namespace cli {

// `lines` on pages headed by `root` and the scan's `time`, into `out`, which
// the caller finishes; an error number, 0 when written.
int writeListingPdf(char* program, const forms::ListBox& lines, const QString& root, qint64 time,
                    dosfs::FileWriter& out);

}  // namespace cli
