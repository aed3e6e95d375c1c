#include "platform/treemap/tree.h"

namespace treemap {

QString Tree::relativePath(int i) const {
    QStringList parts;
    for (int n = i; n > 0; n = nodes[size_t(n)].parent)
        parts.prepend(nodes[size_t(n)].kind == Kind::Other ? QStringLiteral("*")
                                                           : names[size_t(n)]);
    return parts.join(u'/');
}

QString Tree::dosPath(int i) const {
    if (i > 0 && nodes[size_t(i)].kind == Kind::Other) i = nodes[size_t(i)].parent;
    QStringList parts;
    for (int n = i; n > 0; n = nodes[size_t(n)].parent) parts.prepend(names[size_t(n)]);
    QString path = rootPath;
    for (const QString& part : parts) {
        if (!path.endsWith(u'\\')) path += u'\\';
        path += part;
    }
    return path;
}

size_t Tree::memoryBytes() const {
    size_t total = nodes.capacity() * sizeof(Node) + names.capacity() * sizeof(QString);
    for (const QString& name : names)
        if (!name.isEmpty()) total += 32 + size_t(name.capacity()) * 2;
    return total;
}

QStringView extensionIn(QStringView name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0 || name.size() - dot - 1 > kLongestExtension) return {};
    return name.sliced(dot + 1);
}

QString extensionOf(const QString& name) {
    return extensionIn(name).toString().toLower();
}

}  // namespace treemap
