#include "engine/name_glob.h"

namespace engine {

void decodeCharacters(QByteArrayView bytes, std::vector<std::uint32_t>& out) {
    out.clear();
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char lead = b[i];
        const int length = lead < 0x80             ? 1
                           : (lead & 0xE0) == 0xC0 ? 2
                           : (lead & 0xF0) == 0xE0 ? 3
                           : (lead & 0xF8) == 0xF0 ? 4
                                                   : 0;
        std::uint32_t c = length == 1 ? lead : lead & (0x7F >> length);
        bool whole = length > 0 && i + length <= n;
        for (int k = 1; whole && k < length; ++k) {
            if ((b[i + k] & 0xC0) != 0x80) whole = false;
            c = (c << 6) | (b[i + k] & 0x3F);
        }
        if (whole) {
            out.push_back(c);
            i += length;
        } else {
            out.push_back(kRawByte + lead);
            ++i;
        }
    }
}

bool NameGlob::parseSet(const std::vector<std::uint32_t>& chars, std::size_t& i, Token& t) {
    t.kind = Kind::Set;
    t.value = std::uint32_t(ranges_.size());
    std::size_t j = i + 1;
    if (j < chars.size() && (chars[j] == '!' || chars[j] == '^')) {
        t.negated = true;
        ++j;
    }
    // A "]" first is one of the set.
    for (bool first = true; j < chars.size() && (first || chars[j] != ']'); first = false) {
        std::uint32_t low = chars[j], high = low;
        if (j + 2 < chars.size() && chars[j + 1] == '-' && chars[j + 2] != ']') {
            high = chars[j + 2];
            j += 2;
        }
        ranges_.push_back(low);
        ranges_.push_back(high);
        ++t.count;
        ++j;
    }
    if (j >= chars.size()) return false;
    i = j;
    return true;
}

bool NameGlob::compile(QByteArrayView part, QString& why) {
    text_ = part.toByteArray();
    anyFolders_ = part == "**";
    std::vector<std::uint32_t> chars;
    decodeCharacters(part, chars);
    for (std::size_t i = 0; i < chars.size(); ++i) {
        Token t{Kind::Char};
        t.value = chars[i];
        if (chars[i] == '*') {
            t.kind = Kind::Star;
            // "**" within a name is one "*".
            if (!tokens_.empty() && tokens_.back().kind == Kind::Star) continue;
        } else if (chars[i] == '?') {
            t.kind = Kind::Any;
        } else if (chars[i] == '[' && !parseSet(chars, i, t)) {
            why = QStringLiteral("has a \"[\" that is not closed by \"]\"");
            return false;
        }
        tokens_.push_back(t);
    }
    literal_ = true;
    for (const Token& t : tokens_) literal_ = literal_ && t.kind == Kind::Char;
    starSuffix_ = !tokens_.empty() && tokens_[0].kind == Kind::Star;
    for (std::size_t i = 1; starSuffix_ && i < tokens_.size(); ++i)
        starSuffix_ = tokens_[i].kind == Kind::Char;
    if (starSuffix_) suffix_ = text_.mid(1);
    if (!tokens_.empty() && tokens_[0].kind == Kind::Char) firstByte_ = (unsigned char)text_[0];
    return true;
}

bool NameGlob::one(const Token& t, std::uint32_t c) const {
    switch (t.kind) {
        case Kind::Char:
            return t.value == c;
        case Kind::Any:
            return true;
        case Kind::Set: {
            bool in = false;
            for (std::uint32_t r = 0; r < t.count && !in; ++r)
                in = c >= ranges_[t.value + 2 * r] && c <= ranges_[t.value + 2 * r + 1];
            return in != t.negated;
        }
        case Kind::Star:
            break;
    }
    return false;
}

// The classic walk with one star to return to: linear unless stars must
// give back characters, never exponential.
bool NameGlob::matches(const std::vector<std::uint32_t>& name) const {
    const std::size_t m = tokens_.size(), n = name.size();
    std::size_t p = 0, s = 0, starP = m, starS = 0;
    while (s < n) {
        if (p < m && tokens_[p].kind == Kind::Star) {
            starP = p++;
            starS = s;
        } else if (p < m && one(tokens_[p], name[s])) {
            ++p;
            ++s;
        } else if (starP < m) {
            p = starP + 1;
            s = ++starS;
        } else {
            return false;
        }
    }
    while (p < m && tokens_[p].kind == Kind::Star) ++p;
    return p == m;
}

}  // namespace engine
