#pragma once
// Where tolan-list writes what is not the work file: standard output, or a
// file replaced only when complete (dosfs::Replacement), so that a failure
// or a signal part-way leaves an existing file as it was.

#include "platform/dosfs/replace_file.h"

#include <QByteArray>

namespace cli {

class OutputFile {
  public:
    // Error numbers of dosfs/errors.h, 0 on success.
    int openStandardOutput();
    int openReplacing(const QByteArray& hostPath);
    // Buffered; a failure is kept and returned by every later call.
    int write(const QByteArray& bytes);
    // Everything written, and a replaced file put in place.
    int finish();

  private:
    int flush();

    int fd_ = -1;
    dosfs::Replacement replacement_;
    QByteArray path_;
    QByteArray buffer_;
    long long room_ = -1;
    int error_ = 0;
};

// While a file is being replaced, SIGINT, SIGTERM and SIGHUP remove its
// temporary file before the process ends, so nothing partial is left.
void removeOnSignals(const QByteArray& tempPath);

}  // namespace cli
