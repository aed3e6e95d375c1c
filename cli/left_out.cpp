#include "cli/left_out.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cli {
namespace {

// More than this is no list of patterns.
constexpr qint64 kMostPatternBytes = 64LL * 1024 * 1024;

// The bytes of a regular file; false with why in `why`.
bool readPatternFile(const QByteArray& path, QByteArray& text, QString& why) {
    // Non-blocking, so that opening a FIFO nobody writes returns at once.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = errno == ENOENT ? QStringLiteral("no such file")
                              : QString::fromLocal8Bit(std::strerror(errno)).toLower();
        return false;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0;
    if (!ok)
        why = QString::fromLocal8Bit(std::strerror(errno)).toLower();
    else if (S_ISDIR(st.st_mode))
        why = QStringLiteral("it is a folder, not a file of patterns");
    else if (!S_ISREG(st.st_mode))
        why = QStringLiteral("it is not a regular file (a FIFO or a device is not read)");
    else if (st.st_size > kMostPatternBytes)
        why = QStringLiteral("it is over 64 MiB, no list of patterns");
    ok = ok && why.isEmpty();
    for (char buffer[65536]; ok;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) why = QString::fromLocal8Bit(std::strerror(errno)).toLower();
        ok = n > 0;
        if (ok) text.append(buffer, n);
    }
    ::close(fd);
    return ok;
}

}  // namespace

bool readExclusions(Options& options, QString& error) {
    QList<QByteArray> all;
    engine::Exclusions checked;
    engine::BadPattern bad;
    for (const Options::ExcludeSource& source : options.excludes) {
        const QString name = QString::fromLocal8Bit(source.value);
        QList<QByteArray> patterns{source.value};
        if (source.file) {
            QByteArray text;
            QString why;
            if (!readPatternFile(source.value, text, why)) {
                error = QStringLiteral("--exclude-from '%1': %2").arg(name, why);
                return false;
            }
            patterns = engine::Exclusions::patternLines(text);
        }
        if (!engine::Exclusions::compile(patterns, checked, bad)) {
            error = (source.file ? QStringLiteral("--exclude-from '%1': ").arg(name)
                                 : QStringLiteral("--exclude: ")) +
                    bad.message();
            return false;
        }
        all += patterns;
    }
    return engine::Exclusions::compile(all, options.exclusions, bad);
}

void reportLeftOut(FILE* to, const engine::Exclusions& exclusions,
                   const engine::LeftOutCounts& counts) {
    if (exclusions.empty()) return;
    // The patterns as given, byte for byte.
    QList<QByteArray> by;
    for (std::size_t k = 0; k < counts.byPattern.size(); ++k)
        if (counts.byPattern[k] > 0)
            by.append(exclusions.patterns()[qsizetype(k)] + ": " +
                      QByteArray::number(counts.byPattern[k]));
    const auto plural = [](qint64 n, const char* one, const char* many) {
        return QByteArray::number(n) + ' ' + (n == 1 ? one : many);
    };
    QByteArray line = "tolan-list: left out: " + plural(counts.files, "file", "files") + ", " +
                      plural(counts.folders, "folder", "folders");
    if (!by.isEmpty()) line += " (" + by.join(", ") + ')';
    std::fprintf(to, "%s\n", line.constData());
}

QString rootLeftOut(const engine::Exclusions& exclusions, int pattern, const QString& root) {
    return QStringLiteral(
               "the pattern \"%1\" leaves out the folder listed itself (%2): "
               "nothing listed")
        .arg(QString::fromLocal8Bit(exclusions.patterns()[pattern]), root);
}

}  // namespace cli
