#pragma once
// Display width of listing text: the number of bytes the text takes in the
// work file, so that fixed-width columns line up in a Japanese monospaced
// font (ASCII and half-width katakana one column, other characters two).

#include <QByteArray>
#include <QString>

class Class1 {
  public:
    int UniLenB(QStringView text) const;

    // Display width minus characters: the columns a padded text gains.
    int extra(QStringView text) const { return UniLenB(text) - static_cast<int>(text.size()); }

    // True when the text comes back unchanged from code page 932.
    bool representable(const QString& text) const { return IsAnsiRepresentable(text); }

  private:
    QString ToUnicode(const QByteArray& bytes) const;
    QByteArray ToAnsi(const QString& text) const;
    bool IsAnsiRepresentable(const QString& text) const;
    int AnsiByteLength(QStringView text) const;
};
