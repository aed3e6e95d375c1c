#pragma once
// The drive letters the program offers and the host folder behind each.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <vector>

namespace dosfs {

class DriveTable {
  public:
    // C: is the user's home folder, Z: the host root.
    static DriveTable defaults();

    // A line of the drives file that names no drive: its number from 1 and
    // its text without the blanks around it.
    struct BadLine {
        int number;
        QByteArray text;
        bool repeated;  // a good line for a letter an earlier line mapped
    };
    // Reads `X:=/absolute/folder` lines; a line that starts with '#' is a
    // comment. A line of any other shape, and a second line for the same
    // letter, is skipped and added to `bad`. Returns false (and leaves the
    // table unchanged) when no line is usable.
    bool parse(const QByteArray& text, std::vector<BadLine>* bad = nullptr);

    // Adds or replaces one drive from `X:=/folder`; false when malformed.
    bool addMapping(const QByteArray& mapping);

    void set(QChar letter, const QByteArray& hostFolder);
    void clear() { drives_.clear(); }

    // A drive of the program's own on the last letter the table leaves free,
    // for files of its own (the work file) that no drive the user can pick
    // reaches: it resolves like any drive, but letters(), contains() and the
    // chooser do not show it, and it is gone with the next set() of its
    // letter. Returns the letter; a null QChar when every letter is taken.
    QChar setOwnDrive(const QByteArray& hostFolder);
    bool isOwnDrive(QChar letter) const { return ownLetter_ && letter.toUpper() == ownLetter_; }

    bool contains(QChar letter) const;
    QByteArray hostFolder(QChar letter) const;  // empty when the letter has no drive
    QList<QChar> letters() const;               // in letter order, upper case
    bool isEmpty() const { return drives_.empty(); }

    // "c: [alice]": lower-case letter and colon, then the host folder's own
    // name in brackets; the host root has no name ("z:").
    QString chooserEntry(QChar letter) const;
    QStringList chooserEntries() const;

  private:
    std::map<char16_t, QByteArray> drives_;
    char16_t ownLetter_ = 0;
    QByteArray ownFolder_;
};

// An absolute host folder with repeated '/', '.' and '..' folded away.
QByteArray normalizedHostFolder(const QByteArray& folder);

}  // namespace dosfs
