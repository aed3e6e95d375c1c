#pragma once
// Files that hold a user's result are replaced, never overwritten in place:
// written beside their final name, flushed to disk and renamed over it only
// when complete, so that a crash, a full disk or a failure part-way leaves
// the old contents whole. Both the whole-file replace (the settings record)
// and the numbered files opened for Replace go through Replacement.

#include <QByteArray>

namespace dosfs {

class Replacement {
  public:
    Replacement() = default;
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;
    ~Replacement() { discard(); }

    // Creates the temporary file beside hostPath (noted in the pending
    // journal). Returns an error number of errors.h, 0 on success.
    int begin(const QByteArray& hostPath);
    bool active() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // Where the file is written until it is complete.
    const QByteArray& tempPath() const { return tempPath_; }
    // Tells of bytes written to fd(): once several megabytes have gathered
    // the device is asked to start writing them, so that a large file's
    // flush in commit() waits on its last part only.
    void written(qsizetype bytes);
    // Flushes to disk, closes and renames into place; on any failure the
    // temporary file is removed and the old file stays. Returns the error.
    int commit();
    // Removes the temporary file; the old file stays as it was.
    void discard();

  private:
    int fd_ = -1;
    long long written_ = 0;      // bytes written to the temporary file
    long long writtenBack_ = 0;  // of them, handed to the device to write
    QByteArray finalPath_;
    QByteArray tempPath_;
};

// Writes the bytes to fd, retrying interrupted writes, within `room` bytes
// the fault seam leaves (-1: no limit; reduced by what was written). The
// seam's write faults are looked up for hostPath. Returns the error number.
int writeAll(int fd, const char* bytes, qsizetype size, long long& room,
             const QByteArray& hostPath);

// Replaces a host file's contents as above, creating its folder (and the
// parents) when missing. Returns an error number, 0 on success.
int replaceFile(const QByteArray& hostPath, const QByteArray& contents);

}  // namespace dosfs
