#pragma once
// The lines of a snapshot file, read through one buffer from a descriptor:
// a file, a pipe or a FIFO alike. Each line is copied out with room for
// simdjson's padding, so memory stays at the buffer and the longest line.

#include <QByteArray>
#include <QString>

#include <string>
#include <vector>

namespace engine {

class LineInput {
  public:
    enum class Read { Line, End, Failed, TooLong };

    explicit LineInput(qsizetype longest) : longest_(longest) {}
    ~LineInput();
    LineInput(const LineInput&) = delete;
    LineInput& operator=(const LineInput&) = delete;

    // Opens the file; false with a message ("no such file", "it is a
    // folder, not a snapshot", ...).
    bool open(const QByteArray& hostPath, QString& message);
    // The next line in line(); `error` an errno when reading failed. A line
    // longer than the longest is not read on.
    Read next(int& error);
    // From the start again; false for a pipe.
    bool rewind();

    // The line last read, without its line end (and a carriage return
    // before it), padded for simdjson beyond length().
    const char* padded() const { return line_.data(); }
    size_t length() const { return length_; }
    size_t capacity() const { return line_.size(); }
    // Its number, from 1.
    qint64 number() const { return number_; }
    // Whether it had its line end (the last line of a file may not).
    bool ended() const { return ended_; }
    int fd() const { return fd_; }

    // Counts the lines left and those among them that begin with `prefix`
    // (without parsing them); for a summary.
    void countRest(qint64& lines, const QByteArray& prefix, qint64& prefixed);

  private:
    bool fill(int& error);

    qsizetype longest_;
    int fd_ = -1;
    std::vector<char> buffer_ = std::vector<char>(1 << 20);
    size_t at_ = 0, end_ = 0;
    bool eof_ = false;
    std::string line_;
    size_t length_ = 0;
    qint64 number_ = 0;
    bool ended_ = true;
};

}  // namespace engine
