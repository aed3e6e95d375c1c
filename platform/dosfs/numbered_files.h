#pragma once
// Sequential text files opened by number for one command, as the program has
// always used them: lines in code page 932 ended by CR LF.

#include "platform/dosfs/file_system.h"
#include "platform/dosfs/text_line.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <memory>

namespace dosfs {

// Replace writes beside the named file and puts the result in its place only
// when closed without error, so the old file stays whole until then (a
// device or a pipe is written in place); Append adds to the file in place.
// ReplaceOwn is Replace at a name the program chose (FileWriter::Mode::Own);
// open() takes it for every file on the program's own drive.
enum class OpenMode { Replace, Append, Input, ReplaceOwn };

// The numbers the program's commands open their files by, each for the
// length of one command.
constexpr int kListingFile = 1;  // a listing file (TOLAN*.TXT/CSV)
constexpr int kTestFile = 2;     // the output directory's write test
constexpr int kWorkFile = 3;     // the scan's work file, DIR.TXT
constexpr int kSaveFile = 4;     // the copy save-as writes

class NumberedFiles {
  public:
    explicit NumberedFiles(const FileSystem& fs);
    ~NumberedFiles();
    NumberedFiles(const NumberedFiles&) = delete;
    NumberedFiles& operator=(const NumberedFiles&) = delete;

    // All calls return an error number of errors.h, 0 on success.
    int open(int number, const QString& dosPath, OpenMode mode);
    int openHost(int number, const QByteArray& hostPath, OpenMode mode,
                 Encoding encoding = Encoding::Cp932);
    // Writes to a descriptor the caller keeps open (standard output).
    int attach(int number, int fd, Encoding encoding);

    // Writes the line and CR LF. After a failed write the file keeps its
    // error, and close() reports it too.
    int printLine(int number, const QString& line);

    // Reads up to the next line end (CR LF, CR or LF). *valid tells whether
    // the bytes were valid code page 932.
    int lineInput(int number, QString& line, bool* valid = nullptr);
    // Reads one comma-separated item: leading blanks skipped; a quoted item
    // runs to the closing quote; an unquoted one to the next comma or line
    // end, trailing blanks dropped.
    int input(int number, QString& item);
    // A line and a line to write as the bytes in the file, for copies that
    // must not change a byte.
    int lineInputBytes(int number, QByteArray& line);
    int printBytes(int number, const QByteArray& line);
    bool eof(int number) const;

    // For a Replace file: renames it over its final name, or removes it and
    // leaves the old file when anything failed.
    int close(int number);
    // Closes without keeping what was written to a Replace file.
    void abandon(int number);
    // Closes every file; a Replace file still open is abandoned, not renamed.
    void closeAll();
    bool isOpen(int number) const { return files_.count(number) != 0; }

  private:
    struct File;
    int add(int number, std::unique_ptr<File> file);
    // The file open for input by that number, with a line left to read;
    // nullptr with the error number otherwise (62 past the end).
    File* nextInput(int number, int& error);

    const FileSystem& fs_;
    std::map<int, std::unique_ptr<File>> files_;
};

// The start of a host file up to its first line end, or its first `limit`
// bytes when no line ends before (at most one read's worth more). Anything
// but a regular file (a pipe, a device) is not read: 75.
int readHead(const QByteArray& hostPath, qsizetype limit, QByteArray& head);

// The first comma-separated item of a file's first line, by the rules of
// input(), reading no more of the file than that line. 62 for an empty file.
int firstItem(const FileSystem& fs, const QString& dosPath, QString& item);

// Deletes a file; 53 when there is none.
int deleteFile(const FileSystem& fs, const QString& dosPath);

}  // namespace dosfs
