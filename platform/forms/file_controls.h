#pragma once
// The drive chooser, the folder tree and the file list, over the DOS file layer.

#include "platform/dosfs/file_system.h"
#include "platform/forms/control.h"

#include <QStringList>

namespace forms {

class DriveListBox : public Control {
  public:
    DriveListBox(Form& form, Control* container, QString name, int index, dosfs::FileSystem& fs);
    Kind kind() const override { return Kind::DriveList; }

    QStringList entries() const { return fs_.drives().chooserEntries(); }
    int listCount() const { return static_cast<int>(entries().size()); }
    QString list(int i) const { return entries().value(i); }
    // The current entry as the chooser shows it ("c: [alice]").
    const QString& drive() const { return text_; }
    // Accepts "c:", "C:\x" or an entry; 68 when the letter has no drive.
    // Raises Change when the drive changes.
    int setDrive(const QString& drive);
    // The user picked entry i.
    void picked(int i) { setDrive(list(i)); }

  private:
    dosfs::FileSystem& fs_;
};

class DirListBox : public Control {
  public:
    DirListBox(Form& form, Control* container, QString name, int index, dosfs::FileSystem& fs);
    Kind kind() const override { return Kind::DirList; }

    const QString& path() const { return path_; }
    // Error number (68 no drive, 76 no such folder) or 0; raises Change when
    // the path changes.
    int setPath(const QString& path);
    // Subfolders of the shown folder.
    int listCount() const { return static_cast<int>(subfolders_.size()); }
    // i >= 0: subfolder i; -1: the shown folder; -2 its parent, and so on.
    QString list(int i) const;
    int listIndex() const { return listIndex_; }
    void setListIndexFromUser(int i) { listIndex_ = i; }
    // The rows the view shows: the open folders from the root, then the
    // subfolders, each with its list index and depth of indentation.
    struct Row {
        QString name;
        int listIndex;
        int depth;
    };
    std::vector<Row> rows() const;
    // Reads the shown folder again.
    void refresh();

  private:
    dosfs::FileSystem& fs_;
    QString path_;
    QStringList subfolders_;  // names
    int listIndex_ = -1;
};

class FileListBox : public Control {
  public:
    FileListBox(Form& form, Control* container, QString name, int index, dosfs::FileSystem& fs);
    Kind kind() const override { return Kind::FileList; }

    const QString& path() const { return path_; }
    int setPath(const QString& path);
    const QString& pattern() const { return pattern_; }
    // Patterns separated by ";". A pattern holding a character no file name
    // has (\ / : < > | ") is refused, as is one without any pattern: false,
    // and the list keeps the pattern it had.
    bool setPattern(const QString& pattern);
    int listCount() const { return static_cast<int>(files_.size()); }
    QString list(int i) const { return files_.value(i); }
    int listIndex() const { return listIndex_; }
    // The user picked entry i: it becomes the list index, then Click.
    void picked(int i);

  private:
    void reload();
    dosfs::FileSystem& fs_;
    QString path_;
    QString pattern_ = QStringLiteral("*.*");
    QStringList files_;
    int listIndex_ = -1;
};

// Names in the order the lists show them: regardless of case, then exactly.
void sortNames(QStringList& names);

}  // namespace forms
