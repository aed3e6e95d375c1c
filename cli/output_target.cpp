#include "cli/output_target.h"

#include "platform/dosfs/errors.h"

#include <cerrno>
#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

namespace cli {

const QString kStandardOutput = QStringLiteral("standard output");

QString outputTarget(const Options& options) {
    return options.output.isEmpty() ? kStandardOutput : QString::fromUtf8(options.output);
}

int openOutput(const Options& options, dosfs::FileWriter& out) {
    if (!options.output.isEmpty()) return out.open(options.output);
    out.attach(STDOUT_FILENO);
    return dosfs::kOk;
}

QString cannotWrite(const QString& target, int error) {
    const bool toFile = target != kStandardOutput;
    // A path that was not UTF-8 cannot be looked at again from its text.
    const bool look =
        toFile && error != dosfs::kDiskFull && !target.contains(QChar::ReplacementCharacter);
    QString cause = look ? writeObstacle(target.toUtf8()) : QString();
    if (cause.isEmpty())
        cause = QString::fromLatin1(dosfs::errorText(error, dosfs::Doing::WritingFile));
    return QStringLiteral("cannot write %1: %2")
        .arg(toFile ? QStringLiteral("'%1'").arg(target) : target, cause);
}

int fail(int status, const QString& message) {
    std::fprintf(stderr, "tolan-list: %s\n", message.toLocal8Bit().constData());
    return status;
}

QString writeObstacle(const QByteArray& hostPath) {
    struct stat st {};
    const bool exists = ::stat(hostPath.constData(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) return QStringLiteral("it is a folder; name a file");
    const QByteArray folder = dosfs::folderOf(hostPath);
    const QString shown = QString::fromLocal8Bit(folder);
    struct stat fst {};
    if (::stat(folder.constData(), &fst) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return QStringLiteral("folder '%1' does not exist").arg(shown);
        if (errno == EACCES)
            return QStringLiteral("permission denied: this user cannot reach folder '%1'")
                .arg(shown);
        return {};
    }
    if (!S_ISDIR(fst.st_mode)) return QStringLiteral("'%1' is not a folder").arg(shown);
    // A read-only file is never replaced, even where root could write it.
    if (exists && S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0)
        return QStringLiteral("permission denied: the file is read-only");
    // access() asks for the real user, the one the run's files belong to.
    const auto denied = [&shown](const QByteArray& path, int mode, const QString& what) {
        if (::access(path.constData(), mode) == 0) return QString();
        if (errno == EROFS) return QStringLiteral("'%1' is on a read-only file system").arg(shown);
        if (errno == EACCES)
            return QStringLiteral("permission denied: this user may not write ") + what;
        return QString();
    };
    if (exists) {
        const QString cause = denied(hostPath, W_OK, QStringLiteral("the file"));
        if (!cause.isEmpty()) return cause;
    }
    // A file may be written beside its final name and renamed over it.
    return denied(folder, W_OK | X_OK, QStringLiteral("in folder '%1'").arg(shown));
}

}  // namespace cli
