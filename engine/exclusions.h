#pragma once
// What a scan leaves out: patterns the user names, matched on the host bytes
// of names and paths below the folder listed. A pattern without "/" matches
// a name at any level; with "/" it matches the path below the folder listed
// (a leading "/" only anchors it there); a trailing "/" matches folders only.
// "*" and "?" stand for any characters and one character, "[...]" for one of
// a set ("!" or "^" first negates it, "a-z" a range), a whole part "**" for
// any number of folders. Case is as the file system has it; a backslash is
// an ordinary character ("[*]" matches a star). A folder left out is never
// opened: the scan consults the patterns before it plans or reads it.

#include "platform/dosfs/directory.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace engine {

// A pattern that cannot be used, and why, in plain English.
struct BadPattern {
    QByteArray pattern;
    QString why;
    // "the pattern "x[" has a "[" that is not closed".
    QString message() const;
};

// Entries a scan left out: how many files and folders (a folder left out
// counts once, its contents unread), and how many each pattern left out.
struct LeftOutCounts {
    qint64 files = 0;
    qint64 folders = 0;
    std::vector<qint64> byPattern;  // in the order the patterns were given
    qint64 entries() const { return files + folders; }
};

class Exclusions {
  public:
    // No pattern: nothing is left out.
    Exclusions() = default;

    // The patterns compiled, in the order given; false with the first bad
    // one in `bad`, `out` then unchanged.
    static bool compile(const QList<QByteArray>& patterns, Exclusions& out, BadPattern& bad);
    // One pattern a line of `text` (a file or a text box); blank lines and
    // lines that start with "#" are skipped, a CR before the line end dropped.
    static QList<QByteArray> patternLines(const QByteArray& text);

    bool empty() const { return patterns_.isEmpty(); }
    qsizetype size() const { return patterns_.size(); }
    // The patterns as given, host bytes: what a snapshot records.
    const QList<QByteArray>& patterns() const { return patterns_; }
    // The same as texts (bytes that are not UTF-8 as the program's names
    // show them, see dosfs/host_name.h).
    QStringList texts() const;
    // Whether two sets leave out the same: the same patterns, whatever
    // their order or repetition.
    bool samePatterns(const Exclusions& other) const;
    // The same for patterns as a snapshot records them.
    static bool samePatterns(const QList<QByteArray>& a, const QList<QByteArray>& b);

    // The first pattern (its place in patterns()) that leaves out the entry
    // `name` of the folder `folderBelowRoot` ("" for the folder listed, else
    // its host path below it, "/" between parts); -1 for none.
    int leaves(QByteArrayView folderBelowRoot, QByteArrayView name, bool folder) const;
    // The first pattern that leaves out the folder listed itself, by its
    // host path (a pattern without "/" that matches its own name); -1 for none.
    int leavesRoot(QByteArrayView rootHostPath) const;
    // Takes what the patterns leave out of a folder's contents, noting each
    // in contents.takenOut.
    void leaveOut(QByteArrayView folderBelowRoot, dosfs::FolderContents& contents) const;

  private:
    struct Compiled;
    QList<QByteArray> patterns_;
    std::shared_ptr<const Compiled> compiled_;  // shared by the threads that read
};

// Adds what a folder's contents had taken out to `counts`.
void countTakenOut(const dosfs::FolderContents& contents, LeftOutCounts& counts);

}  // namespace engine
