#pragma once
// What tolan-list --compare writes while its snapshots are read: where the
// output cannot be taken back (standard output, a pipe, a device) it is held
// until every snapshot was read whole, in memory up to kInMemory bytes and
// past that in a temporary file of the state folder, which the one writer
// journals and the ending signals remove; a file put in place only when
// finished is written at once.

#include "platform/dosfs/file_writer.h"

#include <QByteArray>
#include <QByteArrayView>

namespace cli {

class HeldOutput {
  public:
    static constexpr qsizetype kInMemory = 1 << 20;

    // `out` outlives this.
    explicit HeldOutput(dosfs::FileWriter& out) : out_(out) {}
    HeldOutput(const HeldOutput&) = delete;
    HeldOutput& operator=(const HeldOutput&) = delete;

    // An error number of the file layer, 0 on success.
    int write(QByteArrayView bytes);
    // Throws away what was held, to begin again.
    void drop();
    // Writes what was held to the output; the first error number.
    int release();
    // The temporary file that failed, for the message of an error; empty
    // when it was the output.
    const QByteArray& failedAt() const { return failedAt_; }

  private:
    int spoolFailed(int error);

    dosfs::FileWriter& out_;
    QByteArray memory_;
    dosfs::FileWriter spool_;  // open once memory_ would grow past kInMemory
    int error_ = 0;            // of the spool
    QByteArray failedAt_;
};

}  // namespace cli
