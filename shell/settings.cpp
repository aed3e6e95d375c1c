#include "shell/settings.h"

#include "platform/codepage/cp932.h"
#include "platform/dosfs/errors.h"
#include "platform/dosfs/file_writer.h"
#include "platform/dosfs/locations.h"
#include "platform/dosfs/numbered_files.h"

#include <QStringList>
#include <algorithm>

#include <cerrno>
#include <cmath>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

namespace shell {
namespace {

// A first line longer than this is no record of ours.
constexpr qsizetype kMaxRecord = 64 * 1024;
// A window larger than this (about 66,000 pixels) fits no screen.
constexpr double kMaxWindowSize = 1'000'000;

// The defaults' places and sizes; the output format stays.
void defaultPositions(Settings& s) {
    const int csvOutput = s.csvOutput;
    s = kDefaults;
    s.csvOutput = csvOutput;
}

// The record's one line: the ten fields, comma-separated.
QByteArray recordOf(const Settings& s) {
    const QString record = QStringList{s.windowTop,          s.windowLeft,
                                       s.windowHeight,       s.windowWidth,
                                       s.outputDir,          s.saveDialogTop,
                                       s.saveDialogLeft,     s.settingsDialogTop,
                                       s.settingsDialogLeft, QString::number(s.csvOutput)}
                               .join(u',');
    return codepage::toCp932(record) + "\r\n\r\n";
}

QString dropLeadingSpaces(const QString& s) {
    qsizetype i = 0;
    while (i < s.size() && s[i] == u' ') ++i;
    return s.mid(i);
}

// The first line of the file, or false when it cannot be a record.
bool readFirstLine(const QByteArray& head, QString& line) {
    qsizetype end = 0;
    while (end < head.size() && head[end] != '\r' && head[end] != '\n') ++end;
    if (end > kMaxRecord) return false;
    const QByteArray bytes = head.left(end);
    if (bytes.contains('\0')) return false;
    bool valid = false;
    line = codepage::fromCp932(bytes, &valid);
    return valid;
}

// Renames the file to `settings.bad` beside it, or the first of
// settings.bad.2, .3, ... not taken; the name, empty when it failed.
QByteArray setAside(const QByteArray& path) {
    for (int n = 1; n < 100; ++n) {
        const QByteArray aside = path + ".bad" + (n > 1 ? '.' + QByteArray::number(n) : "");
        if (::renameat2(AT_FDCWD, path.constData(), AT_FDCWD, aside.constData(),
                        RENAME_NOREPLACE) == 0)
            return aside;
        if (errno != EEXIST) break;
    }
    return {};
}

int toTwips(double v) {
    return static_cast<int>(std::clamp(std::nearbyint(v), -kMaxWindowSize, kMaxWindowSize));
}

}  // namespace

QByteArray settingsPath() {
    return dosfs::configFolder() + "/settings";
}

double leadingNumber(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ') ++i;
    const qsizetype start = i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
    const qsizetype digits = i;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 0x80) ++i;
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 0x80) ++i;
    }
    if (i == digits || (i == digits + 1 && text[digits] == u'.')) return 0;
    bool ok = false;
    const double v = text.mid(start, i - start).toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0;
}

QByteArray LoadSettings(Settings& s, const QString& startDrive) {
    const QByteArray path = settingsPath();
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0) {
        s = kDefaults;
        s.outputDir = startDrive + u'\\';
        dosfs::replaceFile(path, recordOf(kDefaults));
        return {};
    }
    QString line;
    QStringList fields;
    // A pipe, a folder, a record that is not one: what cannot be read is
    // set aside, where the user finds it, and not replaced.
    QByteArray head;
    if (dosfs::readHead(path, kMaxRecord + 2, head) == 0 && readFirstLine(head, line))
        fields = line.split(u',');
    if (fields.size() != 10 && fields.size() != 9) {
        defaultPositions(s);
        s.outputDir = startDrive;
        const QByteArray aside = setAside(path);
        // Where it cannot be moved, it is not written over either.
        s.leaveFile = aside.isEmpty();
        return s.leaveFile ? path : aside;
    }
    for (QString& f : fields) f = dropLeadingSpaces(f);
    s.windowTop = fields[0];
    s.windowLeft = fields[1];
    s.windowHeight = fields[2];
    s.windowWidth = fields[3];
    s.outputDir = fields[4];
    s.saveDialogTop = fields[5];
    s.saveDialogLeft = fields[6];
    s.settingsDialogTop = fields[7];
    s.settingsDialogLeft = fields[8];
    if (fields.size() == 10) {
        // Rounded as the original rounded: halves to even.
        const double v = std::nearbyint(leadingNumber(fields[9]));
        s.csvOutput = static_cast<int>(std::clamp(v, -32768.0, 32767.0));
    }
    return {};
}

void ApplySettings(Settings& s, forms::Form& window) {
    const Settings& d = kDefaults;
    if (leadingNumber(s.windowTop) >= 7000) s.windowTop = d.windowTop;
    window.setTop(toTwips(leadingNumber(s.windowTop)));
    if (leadingNumber(s.windowLeft) >= 10000) s.windowLeft = d.windowLeft;
    window.setLeft(toTwips(leadingNumber(s.windowLeft)));
    const double height = leadingNumber(s.windowHeight);
    if (height <= 7500 || height > kMaxWindowSize) s.windowHeight = d.windowHeight;
    window.setHeight(toTwips(leadingNumber(s.windowHeight)));
    const double width = leadingNumber(s.windowWidth);
    if (width <= 8500 || width > kMaxWindowSize) s.windowWidth = d.windowWidth;
    window.setWidth(toTwips(leadingNumber(s.windowWidth)));
    if (leadingNumber(s.saveDialogTop) >= 7000) s.saveDialogTop = d.saveDialogTop;
    if (leadingNumber(s.saveDialogLeft) >= 10000) s.saveDialogLeft = d.saveDialogLeft;
    if (leadingNumber(s.settingsDialogTop) >= 7000) s.settingsDialogTop = d.settingsDialogTop;
    if (leadingNumber(s.settingsDialogLeft) >= 10000) s.settingsDialogLeft = d.settingsDialogLeft;
}

int SaveSettings(Settings& s, const forms::Form& window) {
    s.windowTop = QString::number(window.top());
    s.windowLeft = QString::number(window.left());
    s.windowHeight = QString::number(window.height());
    s.windowWidth = QString::number(window.width());
    if (s.leaveFile) return dosfs::kPermissionDenied;
    return dosfs::replaceFile(settingsPath(), recordOf(s));
}

}  // namespace shell
