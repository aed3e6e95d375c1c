#include "platform/forms/file_controls.h"

#include "platform/dosfs/errors.h"
#include "platform/dosfs/name_order.h"

#include <QRegularExpression>

#include <algorithm>

namespace forms {

void sortNames(QStringList& names) {
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return dosfs::nameBefore(dosfs::nameKey(a), a, dosfs::nameKey(b), b);
    });
}

namespace {

// "X:\..." with nothing left to a current folder.
bool isFullPath(const QString& path) {
    return path.size() >= 3 && path[1] == u':' && path[2] == u'\\' && path[0].isLetter() &&
           path[0].unicode() < 0x80;
}

// The folder a list is pointed at: its error, or 0 with its DOS path.
int resolveFolder(const dosfs::FileSystem& fs, const QString& path, QString& dos) {
    const dosfs::Resolved r = fs.resolve(path);
    if (r.error) return r.error;
    if (!r.isFolder) return dosfs::kPathNotFound;
    dos = r.dos;
    return dosfs::kOk;
}

}  // namespace

DriveListBox::DriveListBox(Form& form, Control* container, QString name, int index,
                           dosfs::FileSystem& fs)
    : Control(form, container, std::move(name), index), fs_(fs) {
    text_ = fs_.drives().chooserEntry(fs_.currentDrive());
}

int DriveListBox::setDrive(const QString& drive) {
    if (drive.isEmpty() || !fs_.drives().contains(drive[0])) return dosfs::kDeviceUnavailable;
    const QString entry = fs_.drives().chooserEntry(drive[0]);
    if (entry == text_) return dosfs::kOk;
    text_ = entry;
    notify(Prop::Text);
    raiseChange();
    return dosfs::kOk;
}

DirListBox::DirListBox(Form& form, Control* container, QString name, int index,
                       dosfs::FileSystem& fs)
    : Control(form, container, std::move(name), index), fs_(fs) {
    path_ = fs_.currentFolder(fs_.currentDrive());
    refresh();
}

int DirListBox::setPath(const QString& path) {
    QString dos;
    const int error = resolveFolder(fs_, path, dos);
    // A folder whose device does not answer yet is shown by the path asked
    // for, its subfolders to come when it answers.
    if (error == dosfs::kNotAnswering && isFullPath(path))
        dos = path;
    else if (error)
        return error;
    const bool changed = dos != path_;
    path_ = dos;
    listIndex_ = -1;
    if (changed) subfolders_.clear();
    refresh();  // shows the folder as it is now, even when it stays the same
    if (changed) raiseChange();
    return error;
}

void DirListBox::refresh() {
    dosfs::FolderContents contents;
    const int error = fs_.readFolder(path_, contents);
    // Until the device answers, the folders shown stay.
    if (error != dosfs::kNotAnswering) {
        subfolders_.clear();
        for (const dosfs::DirEntry& e : contents.folders) subfolders_.append(e.name);
        sortNames(subfolders_);
    }
    notify(Prop::ItemsReset);
}

QString DirListBox::list(int i) const {
    if (i >= 0) {
        if (i >= subfolders_.size()) return QString();
        return (path_.endsWith(u'\\') ? path_ : path_ + u'\\') + subfolders_[i];
    }
    QString p = path_;
    for (int up = -1; up > i; --up) {
        const QString parent = dosfs::parentFolder(p);
        if (parent == p) return QString();
        p = parent;
    }
    return p;
}

std::vector<DirListBox::Row> DirListBox::rows() const {
    std::vector<Row> out;
    const QStringList parts = path_.mid(3).split(u'\\', Qt::SkipEmptyParts);
    const int open = static_cast<int>(parts.size()) + 1;  // the root and each folder below it
    out.push_back({path_.left(3), -open, 0});
    for (int k = 0; k < parts.size(); ++k) out.push_back({parts[k], -open + k + 1, k + 1});
    for (int i = 0; i < subfolders_.size(); ++i) out.push_back({subfolders_[i], i, open});
    return out;
}

FileListBox::FileListBox(Form& form, Control* container, QString name, int index,
                         dosfs::FileSystem& fs)
    : Control(form, container, std::move(name), index), fs_(fs) {
    path_ = fs_.currentFolder(fs_.currentDrive());
    reload();
}

int FileListBox::setPath(const QString& path) {
    QString dos;
    const int error = resolveFolder(fs_, path, dos);
    if (error == dosfs::kNotAnswering && isFullPath(path))
        dos = path;  // as the folder tree
    else if (error)
        return error;
    if (dos != path_) files_.clear();
    path_ = dos;
    reload();
    return error;
}

bool FileListBox::setPattern(const QString& pattern) {
    bool any = false;
    for (const QString& p : pattern.split(u';')) {
        const QString t = p.trimmed();
        for (const QChar c : t)
            if (QStringLiteral("\\/:<>|\"").contains(c)) return false;
        any = any || !t.isEmpty();
    }
    if (!any) return false;
    pattern_ = pattern;
    reload();
    return true;
}

void FileListBox::picked(int i) {
    if (i < 0 || i >= files_.size()) return;
    listIndex_ = i;
    raiseClick();
}

void FileListBox::reload() {
    listIndex_ = -1;
    dosfs::FolderContents contents;
    const int error = fs_.readFolder(path_, contents);
    if (error == dosfs::kNotAnswering) {
        notify(Prop::ItemsReset);
        return;
    }
    files_.clear();
    if (error == dosfs::kOk) {
        QList<QRegularExpression> patterns;
        bool all = false;
        for (const QString& p : pattern_.split(u';', Qt::SkipEmptyParts)) {
            const QString t = p.trimmed();
            if (t == QLatin1String("*.*") || t == QLatin1String("*")) all = true;
            patterns.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(t),
                                               QRegularExpression::CaseInsensitiveOption));
        }
        for (const dosfs::DirEntry& e : contents.files) {
            bool match = all;
            for (const QRegularExpression& re : patterns)
                match = match || re.match(e.name).hasMatch();
            if (match) files_.append(e.name);
        }
    }
    sortNames(files_);
    notify(Prop::ItemsReset);
}

}  // namespace forms
