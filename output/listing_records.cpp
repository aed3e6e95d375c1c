#include "output/listing_records.h"

#include "engine/renderings.h"

namespace output {

QString fileStem(Columns columns) {
    switch (columns) {
        case Columns::NameSizeDate:
            return QStringLiteral("TOLAN");
        case Columns::FolderFileSizeDate:
            return QStringLiteral("TOLAN0");
        case Columns::NameSize:
            return QStringLiteral("TOLAN1");
        case Columns::NameDate:
            return QStringLiteral("TOLAN2");
        case Columns::Name:
            return QStringLiteral("TOLAN3");
    }
    return QString();
}

void splitFolder(const QString& path, QString& folder, QString& file) {
    const QString s = path + u'\\';
    const qsizetype last = s.size() - 1;  // the appended backslash
    qsizetype split = -1;
    qsizetype from = 0;
    for (int search = 0; search < 10; ++search) {
        const qsizetype hit = s.indexOf(u'\\', from);
        if (hit < 0 || hit == last) break;
        split = hit;
        from = hit + 1;
    }
    if (split < 0) {
        folder.clear();
        file = path;
        return;
    }
    folder = s.left(split);
    file = s.mid(split + 1, last - split - 1);
}

QString record(Columns columns, const QString& name, const QString& size, const QString& date,
               bool csv) {
    const QString n = engine::trimSpaces(name);
    QString out;
    out.reserve(n.size() + 48);
    bool first = true;
    auto add = [&](const QString& field) {
        if (!first) out += u',';
        first = false;
        if (!csv) {
            out += field;
            return;
        }
        out += u'"';
        if (field.contains(u'"')) {
            QString doubled = field;
            doubled.replace(QStringLiteral("\""), QStringLiteral("\"\""));
            out += doubled;
        } else {
            out += field;
        }
        out += u'"';
    };
    switch (columns) {
        case Columns::NameSizeDate:
            add(n), add(engine::trimSpaces(size)), add(engine::trimSpaces(date));
            break;
        case Columns::FolderFileSizeDate: {
            QString folder, file;
            splitFolder(n, folder, file);
            add(folder), add(file), add(engine::trimSpaces(size)), add(engine::trimSpaces(date));
            break;
        }
        case Columns::NameSize:
            add(n), add(engine::trimSpaces(size));
            break;
        case Columns::NameDate:
            add(n), add(engine::trimSpaces(date));
            break;
        case Columns::Name:
            add(n);
            break;
    }
    return out;
}

}  // namespace output
