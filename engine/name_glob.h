#pragma once
// One part of an exclusion pattern (between "/"), compiled once and matched
// against the host bytes of a name. A character is a whole UTF-8 sequence,
// or one byte where the bytes are not UTF-8, so "?" matches "é" and a byte
// that is no character alike.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <vector>

namespace engine {

// The characters of host bytes: a code point for each UTF-8 sequence, and
// kRawByte plus the byte for a byte outside one.
constexpr std::uint32_t kRawByte = 0x110000;
void decodeCharacters(QByteArrayView bytes, std::vector<std::uint32_t>& out);

class NameGlob {
  public:
    // Compiles `part`; false with why in `why` (an unclosed "[").
    bool compile(QByteArrayView part, QString& why);

    bool matches(const std::vector<std::uint32_t>& name) const;
    // "**" alone: any number of folders.
    bool anyFolders() const { return anyFolders_; }
    // No wildcard: the part's bytes are the name.
    bool literal() const { return literal_; }
    // "*" followed by characters alone: the name ends in suffix().
    bool starSuffix() const { return starSuffix_; }
    const QByteArray& text() const { return text_; }
    const QByteArray& suffix() const { return suffix_; }
    // The byte every matching name starts with; -1 when it may start with any.
    int firstByte() const { return firstByte_; }

  private:
    enum class Kind : std::uint8_t { Char, Any, Star, Set };
    struct Token {
        Kind kind;
        bool negated = false;
        std::uint32_t value = 0;  // Char: the character; Set: where its ranges start
        std::uint32_t count = 0;  // Set: how many ranges
    };
    bool one(const Token& t, std::uint32_t c) const;
    bool parseSet(const std::vector<std::uint32_t>& chars, std::size_t& i, Token& t);

    std::vector<Token> tokens_;
    std::vector<std::uint32_t> ranges_;  // low, high pairs of the sets
    QByteArray text_, suffix_;
    bool anyFolders_ = false;
    bool literal_ = true;
    bool starSuffix_ = false;
    int firstByte_ = -1;
};

}  // namespace engine
