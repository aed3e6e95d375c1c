#pragma once
// Display width of listing text: the number of bytes the text takes in the
// work file, so that fixed-width columns line up in a Japanese monospaced
// font (ASCII and half-width katakana one column, other characters two).

#include <QString>

class Class1 {
  public:
    // A character the code page cannot hold is written to the file as one
    // "?", so it takes one column there; measuring the written form keeps
    // every line of the file aligned.
    int UniLenB(QStringView text) const;

    // Display width minus characters: the columns a padded text gains.
    int extra(QStringView text) const { return UniLenB(text) - static_cast<int>(text.size()); }
};
