#pragma once
// The DOS namespace the program sees: drive letters over host folders,
// backslash paths, a current drive and a current folder per drive.

#include "platform/dosfs/answer_watch.h"
#include "platform/dosfs/directory.h"
#include "platform/dosfs/drive_table.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <map>

namespace dosfs {

struct Resolved {
    int error = 0;    // errors.h; 0 when the path names an existing entry
    QByteArray host;  // the host path
    QString dos;      // "X:\Folder\Name" with the names as they are on disk
    bool isFolder = false;
};

class FileSystem {
  public:
    explicit FileSystem(DriveTable drives = DriveTable::defaults(), AnswerWatch* watch = nullptr);

    const DriveTable& drives() const { return drives_; }
    void setDrives(DriveTable drives);
    // See DriveTable::setOwnDrive.
    QChar setOwnDrive(const QByteArray& hostFolder) { return drives_.setOwnDrive(hostFolder); }

    // Resolves "X:\a\b", "X:" (that drive's current folder), "X:a" and
    // relative paths. Each name is looked up exactly, then regardless of case.
    Resolved resolve(const QString& dosPath) const;

    // As resolve(), but for a file that may not exist yet: its folder must.
    // On success `dos` ends with the name as given (or as on disk when an
    // entry of that name exists).
    Resolved resolveForCreate(const QString& dosPath) const;

    // The drive whose host folder holds hostPath most closely; error 76 when
    // none does.
    Resolved fromHostPath(const QByteArray& hostPath) const;

    // Reads the subfolders and files of the folder at dosPath. Returns an
    // error number, 0 on success.
    int readFolder(const QString& dosPath, FolderContents& out) const;

    QChar currentDrive() const { return current_; }
    int changeDrive(const QString& drive);     // "C:" or "c: [alice]"; 68 when unavailable
    int changeFolder(const QString& dosPath);  // the folder's drive keeps it as current
    QString currentFolder(QChar drive) const;  // "C:\a\b"; "C:\" at the root

  private:
    bool splitPath(const QString& dosPath, QChar& drive, QStringList& names) const;
    Resolved walk(QChar drive, const QStringList& names, int lastMissingError) const;
    // Runs `call` through the watch for a path below hostPath (see
    // answer_watch.h); kNotAnswering when the device did not answer.
    template <class T>
    int watched(const QByteArray& key, const QByteArray& hostPath, const QByteArray& driveRoot,
                std::function<T()> call, T& answer) const;
    // realpath(3), watched. Returns an error number, 0 on success.
    int realPath(const QByteArray& hostPath, QByteArray& real) const;

    DriveTable drives_;
    QChar current_;
    std::map<char16_t, QString> folders_;  // per drive: "\a\b" below its root
    // The window's calls, which may wait on a device, go through the watch
    // (see answer_watch.h); without one they are made as they come. A call
    // whose device does not answer fails with kNotAnswering.
    AnswerWatch* watch_ = nullptr;
};

// The walk from a drive's host folder down the names, each looked up
// exactly, then regardless of case; it touches nothing but its arguments,
// so that it can run on a thread or in a process of its own.
Resolved walkFromHost(const QByteArray& root, QChar drive, const QStringList& names,
                      int lastMissingError);
// realpath(3) as an error number, 0 on success.
int hostRealPath(const QByteArray& hostPath, QByteArray& real);

// "X:\a\b" -> "X:\a"; a drive root is its own parent ("X:\").
QString parentFolder(const QString& dosPath);
// The last name of a DOS path.
QString lastName(const QString& dosPath);

}  // namespace dosfs
