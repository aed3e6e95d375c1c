#include "platform/dosfs/file_system.h"

#include "platform/dosfs/away_reads.h"
#include "platform/dosfs/errors.h"
#include "platform/dosfs/fault_seam.h"
#include "platform/dosfs/host_name.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include <dirent.h>
#include <sys/stat.h>

namespace dosfs {
namespace {

QByteArray joinHost(const QByteArray& folder, const QByteArray& name) {
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

// The on-disk name in `folder` that equals `name` regardless of case; the
// first of them in byte order when several do, so the choice is stable.
bool findRegardlessOfCase(const QByteArray& folder, const QString& name, QByteArray& found) {
    DIR* dir = opendir(folder.constData());
    if (!dir) return false;
    bool any = false;
    while (const dirent* d = readdir(dir)) {
        const QByteArray candidate(d->d_name);
        if (candidate == "." || candidate == "..") continue;
        if (decodeHostName(candidate).compare(name, Qt::CaseInsensitive) != 0) continue;
        if (!any || candidate < found) found = candidate;
        any = true;
    }
    closedir(dir);
    return any;
}

bool isDriveLetter(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

}  // namespace

Resolved walkFromHost(const QByteArray& root, QChar drive, const QStringList& names,
                      int lastMissingError) {
    if (away::reachesAway(root)) return away::walk(root, drive, names, lastMissingError);
    Resolved r;
    r.host = root;
    struct stat st {};
    if (r.host.isEmpty() || faults::fails(faults::Op::Stat, r.host) ||
        stat(r.host.constData(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        r.error = kDeviceUnavailable;
        return r;
    }
    r.dos = QString(drive.toUpper()) + QStringLiteral(":\\");
    r.isFolder = true;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const bool last = i + 1 == names.size();
        if (!r.isFolder) {
            r.error = kPathNotFound;
            return r;
        }
        QByteArray onDisk = encodeHostName(names[i]);
        if (stat(joinHost(r.host, onDisk).constData(), &st) != 0 &&
            !findRegardlessOfCase(r.host, names[i], onDisk)) {
            r.error = last ? lastMissingError : kPathNotFound;
            r.dos += (r.dos.endsWith(u'\\') ? QString() : QStringLiteral("\\")) + names[i];
            r.host = joinHost(r.host, encodeHostName(names[i]));
            r.isFolder = false;
            return r;
        }
        r.host = joinHost(r.host, onDisk);
        const int fault = faults::injected(faults::Op::Stat, r.host);
        if (fault || stat(r.host.constData(), &st) != 0) {
            r.error = errorFromErrno(fault ? fault : errno, last);
            return r;
        }
        r.isFolder = S_ISDIR(st.st_mode);
        r.dos +=
            (r.dos.endsWith(u'\\') ? QString() : QStringLiteral("\\")) + decodeHostName(onDisk);
    }
    return r;
}

FileSystem::FileSystem(DriveTable drives, AnswerWatch* watch) : watch_(watch) {
    setDrives(std::move(drives));
}

void FileSystem::setDrives(DriveTable drives) {
    drives_ = std::move(drives);
    folders_.clear();
    const QList<QChar> letters = drives_.letters();
    current_ = letters.isEmpty() ? QChar(u'C') : letters.first();
}

bool FileSystem::splitPath(const QString& dosPath, QChar& drive, QStringList& names) const {
    QString rest = dosPath;
    drive = current_;
    if (rest.size() >= 2 && rest[1] == u':' && isDriveLetter(rest[0])) {
        drive = rest[0].toUpper();
        rest = rest.mid(2);
        // "c: [alice]" as the drive chooser shows it names the drive alone.
        if (rest.startsWith(QLatin1String(" [")) && rest.endsWith(u']')) rest.clear();
    }
    if (!rest.startsWith(u'\\')) {
        const auto it = folders_.find(drive.unicode());
        if (it != folders_.end()) names = it->second.split(u'\\', Qt::SkipEmptyParts);
    }
    for (const QString& name : rest.split(u'\\', Qt::SkipEmptyParts)) {
        if (name == QStringLiteral(".")) continue;
        if (name == QStringLiteral("..")) {
            if (!names.isEmpty()) names.removeLast();
            continue;
        }
        names.append(name);
    }
    return true;
}

template <class T>
int FileSystem::watched(const QByteArray& key, const QByteArray& hostPath,
                        const QByteArray& driveRoot, std::function<T()> call, T& answer) const {
    if (!watch_) {
        answer = call();
        return kOk;
    }
    std::any any;
    if (!watch_->ask(
            key, hostPath, driveRoot, [call = std::move(call)] { return std::any(call()); }, any))
        return kNotAnswering;
    answer = std::any_cast<T>(std::move(any));
    return kOk;
}

Resolved FileSystem::walk(QChar drive, const QStringList& names, int lastMissingError) const {
    const QByteArray root = drives_.hostFolder(drive);
    QByteArray target = root;
    for (const QString& name : names) target = joinHost(target, encodeHostName(name));
    Resolved r;
    if (watched<Resolved>(
            "walk " + QByteArray::number(lastMissingError) + ' ' + target, target, root,
            [=] { return walkFromHost(root, drive, names, lastMissingError); }, r) == kNotAnswering)
        r.error = kNotAnswering;
    // The program's own drive is a folder of its own, not a disk: one gone
    // is a folder not found.
    if (r.error == kDeviceUnavailable && drives_.isOwnDrive(drive)) r.error = kPathNotFound;
    return r;
}

int FileSystem::readFolder(const QString& dosPath, FolderContents& out) const {
    const Resolved r = resolve(dosPath);
    if (r.error) return r.error;
    if (!r.isFolder) return kPathNotFound;
    struct Read {
        int error = kOk;
        FolderContents contents;
    };
    Read read;
    const QByteArray host = r.host;
    if (watched<Read>(
            "read " + host, host, drives_.hostFolder(r.dos.at(0)),
            [host] {
                Read answer;
                Directory dir;
                answer.error = Directory::open(host, dir);
                if (!answer.error) answer.error = dir.read(answer.contents);
                return answer;
            },
            read) == kNotAnswering)
        return kNotAnswering;
    out = std::move(read.contents);
    return read.error;
}

int FileSystem::realPath(const QByteArray& hostPath, QByteArray& real) const {
    struct Answer {
        int error = kOk;
        QByteArray path;
    };
    Answer answer;
    if (watched<Answer>(
            "real " + hostPath, hostPath, hostPath,
            [hostPath] {
                Answer a;
                a.error = hostRealPath(hostPath, a.path);
                return a;
            },
            answer) == kNotAnswering)
        return kNotAnswering;
    real = answer.path;
    return answer.error;
}

int hostRealPath(const QByteArray& hostPath, QByteArray& real) {
    if (away::goesAway(hostPath)) return away::realPath(hostPath, real);
    char* p = ::realpath(hostPath.constData(), nullptr);
    if (!p) return errorFromErrno(errno);
    real = p;
    std::free(p);
    return kOk;
}

Resolved FileSystem::resolve(const QString& dosPath) const {
    QChar drive;
    QStringList names;
    splitPath(dosPath, drive, names);
    return walk(drive, names, kFileNotFound);
}

Resolved FileSystem::resolveForCreate(const QString& dosPath) const {
    QChar drive;
    QStringList names;
    splitPath(dosPath, drive, names);
    if (names.isEmpty()) {
        Resolved r;
        r.error = kBadFileNameOrNumber;
        return r;
    }
    Resolved r = walk(drive, names, kFileNotFound);
    if (r.error == kFileNotFound) r.error = kOk;  // only the file itself is missing
    if (r.error == kOk && r.isFolder) r.error = kPathFileAccessError;
    return r;
}

Resolved FileSystem::fromHostPath(const QByteArray& hostPath) const {
    Resolved r;
    QByteArray real;
    r.error = realPath(hostPath, real);
    if (r.error) return r;
    QChar best;
    qsizetype bestLength = -1;
    QByteArray rest;
    for (QChar letter : drives_.letters()) {
        QByteArray folder = drives_.hostFolder(letter);
        if (QByteArray realFolder; realPath(folder, realFolder) == kOk) folder = realFolder;
        const bool inside = folder == "/" || real == folder || real.startsWith(folder + '/');
        if (!inside || folder.size() <= bestLength) continue;
        best = letter;
        bestLength = folder.size();
        rest = folder == "/" ? real : real.mid(folder.size());
    }
    if (bestLength < 0) {
        r.error = kPathNotFound;
        return r;
    }
    QStringList names;
    for (const QByteArray& part : rest.split('/'))
        if (!part.isEmpty()) names.append(decodeHostName(part));
    return walk(best, names, kFileNotFound);
}

int FileSystem::changeDrive(const QString& drive) {
    if (drive.isEmpty() || !isDriveLetter(drive[0])) return kDeviceUnavailable;
    const QChar letter = drive[0].toUpper();
    const Resolved r = walk(letter, {}, kPathNotFound);
    if (r.error) return r.error;
    current_ = letter;
    return kOk;
}

int FileSystem::changeFolder(const QString& dosPath) {
    QChar drive;
    QStringList names;
    splitPath(dosPath, drive, names);
    const Resolved r = walk(drive, names, kPathNotFound);
    if (r.error) return r.error;
    if (!r.isFolder) return kPathNotFound;
    folders_[drive.unicode()] = r.dos.mid(2);
    return kOk;
}

QString FileSystem::currentFolder(QChar drive) const {
    const QChar letter = drive.toUpper();
    const auto it = folders_.find(letter.unicode());
    return QString(letter) + u':' + (it == folders_.end() ? QStringLiteral("\\") : it->second);
}

QString parentFolder(const QString& dosPath) {
    const qsizetype slash = dosPath.lastIndexOf(u'\\');
    if (slash < 0) return dosPath;
    if (slash <= 2) return dosPath.left(3);
    return dosPath.left(slash);
}

QString lastName(const QString& dosPath) {
    return dosPath.mid(dosPath.lastIndexOf(u'\\') + 1);
}

}  // namespace dosfs
