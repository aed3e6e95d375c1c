#pragma once
// The one writer of every file the program writes: the listing files, the
// work file, save-as copies, the settings record and tolan-list's output.
// Output is buffered. A named regular file, or a name not there yet, is
// written beside its final name and renamed over it only when finished
// without a failure, so that a full disk, a crash or a signal part-way
// leaves the earlier file whole (see pending_files.h for what removes the
// file beside it). A device or a pipe, a file opened to append and a
// descriptor the caller keeps are written in place.

#include <QByteArray>
#include <QByteArrayView>

namespace dosfs {

class FileWriter {
  public:
    // Own is Replace for a name the program chose itself (the work file, a
    // snapshot it named): whatever is at the name, a link included, is
    // replaced and never written through.
    enum class Mode { Replace, Append, Own };

    FileWriter() = default;
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;
    ~FileWriter() { abandon(); }

    // Error numbers of errors.h, 0 on success; a failure is also the
    // writer's error(). A folder is refused (75), and a read-only file is not
    // replaced (70), as it would not be written. A replaced file keeps its
    // permissions, but never setuid, setgid or sticky.
    int open(const QByteArray& hostPath, Mode mode = Mode::Replace);
    // Writes to a descriptor the caller keeps open (standard output).
    void attach(int fd);
    bool isOpen() const { return fd_ >= 0; }
    // Whether finish() puts a new file in place of the named one.
    bool replacing() const { return !tempPath_.isEmpty(); }
    // Where the bytes go until finish() (the final name when in place).
    QByteArray writtenPath() const { return replacing() ? tempPath_ : path_; }

    // Bytes are appended to buffer(), then buffered() is called, which
    // writes them once enough have gathered; write() does both.
    QByteArray& buffer() { return buffer_; }
    int buffered() { return buffer_.size() >= kChunk ? flush() : error_; }
    int write(QByteArrayView bytes) {
        buffer_.append(bytes);
        return buffered();
    }
    // The first failure, 0 when none; nothing is written after it.
    int error() const { return error_; }
    // Writes what is buffered now; the first failure.
    int flush();

    // Writes the rest and closes; a replacement is flushed to disk and put in
    // place only when nothing failed, else removed. Returns the first failure.
    int finish();
    // Closes without keeping the file beside the named one; a file written in
    // place keeps what was written so far.
    void abandon();

  private:
    static constexpr qsizetype kChunk = 64 * 1024;
    int openTarget(const QByteArray& hostPath, Mode mode);
    int beginReplacement();

    int fd_ = -1;
    bool owned_ = false;
    int error_ = 0;
    long long room_ = -1;        // bytes the fault seam lets through; -1: no limit
    long long written_ = 0;      // bytes written to the file beside
    long long writtenBack_ = 0;  // of them, handed to the device to write
    QByteArray path_;            // the named file
    QByteArray tempPath_;        // the file beside it, while replacing
    QByteArray buffer_;
};

// The folder a host file is in: "." for a name without one.
QByteArray folderOf(const QByteArray& hostPath);

// A host path from the working folder's start when relative.
QByteArray absoluteHostPath(const QByteArray& hostPath);

// Replaces a host file's contents whole, creating its folder (and the
// parents) when missing. Returns an error number, 0 on success.
int replaceFile(const QByteArray& hostPath, const QByteArray& contents);

}  // namespace dosfs
