#pragma once
// Search in snapshots: the files of a snapshot whose name (or, when the
// pattern holds a "/", whose path below the folder) matches a glob, as
// fnmatch(3) matches host bytes. The snapshot is streamed, a line at a
// time: memory stays bounded whatever its size. A line whose raw bytes
// cannot hold a match (they lack the pattern's longest run of plain
// characters) is only checked for its shape, not parsed: that keeps a
// search at the speed of reading the file.

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

namespace engine {

// One file found.
struct FoundFile {
    QString folder;         // the folder the snapshot was taken of, a DOS path
    QByteArray hostFolder;  // the same as a host path
    QByteArray path;        // the file's host path below the folder, "/" between parts
    qint64 size = 0;        // dosfs::kNoSize when it could not be read
    qint64 mtime = 0;       // dosfs::kNoTime when it could not be read
    qint64 line = 0;        // its line in the snapshot
};

// A file found as a line: its size and date in the columns of a comparison,
// then the snapshot and the file as a DOS path in the folder of the
// snapshot ("?" for one not known). Names are shown as the listings show
// them: a byte that is not UTF-8 or a control character as one character
// of the escape range, which code page 932 writes as "?".
//
//        1200 2024/01/05 5:07:09    backup.jsonl: Z:\media\backup\docs\a.odt
QString foundText(const QString& snapshot, const FoundFile& file);
// Its two parts: "backup.jsonl: Z:\\media\\backup\\docs\\a.odt", and the size
// and date in their columns (29 characters, more for a longer size).
QString foundPathText(const QString& snapshot, const FoundFile& file);
QString foundSideText(const FoundFile& file);

// What is wrong with a pattern (empty, a NUL, a "[" never closed); empty
// when it can be searched for.
QString patternTrouble(const QByteArray& pattern);

class SnapshotFind {
  public:
    // `pattern`: host bytes, accepted by patternTrouble().
    explicit SnapshotFind(QByteArray pattern);
    ~SnapshotFind();

    using Found = std::function<void(const FoundFile&)>;
    // Whether to go on; asked between blocks of lines, so that a window
    // stays responsive and a search can be stopped.
    using KeepGoing = std::function<bool()>;

    // Reads the snapshot at `hostPath` and hands each file that matches to
    // `found`, in the snapshot's order. False with a message ("line 12:
    // ...") when it cannot be read whole, or when `keepGoing` said no
    // (message empty then).
    bool search(const QByteArray& hostPath, const Found& found, QString& message,
                const KeepGoing& keepGoing = {});

  private:
    struct Reading;
    bool matches(const QByteArray& path) const;
    bool takeLine(Reading& r, const Found& found, QString& message);
    QByteArray pattern_;
    QByteArray literal_;  // a run that every matching line holds; empty: none known
    bool wholePath_ = false;
};

}  // namespace engine
