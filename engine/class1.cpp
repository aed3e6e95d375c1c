#include "engine/class1.h"

#include "platform/codepage/cp932.h"

int Class1::UniLenB(QStringView text) const {
    return AnsiByteLength(text);
}

QString Class1::ToUnicode(const QByteArray& bytes) const {
    return codepage::fromCp932(bytes);
}

QByteArray Class1::ToAnsi(const QString& text) const {
    return codepage::toCp932(text);
}

bool Class1::IsAnsiRepresentable(const QString& text) const {
    return ToUnicode(ToAnsi(text)) == text;
}

int Class1::AnsiByteLength(QStringView text) const {
    // A character the code page cannot hold is written to the file as one
    // "?", so it takes one column there; measuring the written form keeps
    // every line of the file aligned.
    return codepage::cp932Length(text);  // ToAnsi(text).size(), without building the bytes
}
