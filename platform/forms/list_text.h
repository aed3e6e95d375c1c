#pragma once
// The text of a list's items, packed: appended at the end, read back by
// index exactly as added.

#include <QByteArray>
#include <QString>
#include <QStringEncoder>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace forms {

class ListText {
  public:
    void append(const QString& item);
    // Gives the memory back: a scan may have filled millions of rows.
    void clear();
    int count() const { return count_; }
    // Item i; none past the ends.
    QString at(int i) const;
    // The bytes the items take, for benchmarks.
    size_t memoryUsed() const;
    // The most display cells an item takes, counted as the listing's text
    // is: its bytes in code page 932 (see cp932Length).
    size_t widest() const { return widest_; }

  private:
    // The items' text one after the other in blocks of a megabyte, so a
    // scan's million lines hold no string each and growing copies nothing.
    // Text is kept as UTF-8, half the room of UTF-16 for the mostly ASCII
    // lines of a listing; a text UTF-8 cannot hold (a lone surrogate) is
    // kept as its UTF-16 units. An item is only where it starts in its
    // block: it ends where the next one starts or where the block's text ends.
    // Two things keep a listing's text small: runs of spaces, which pad its
    // columns, are a byte UTF-8 never holds and the run's length; and an
    // item that begins as the one before it does (the lines of one folder
    // share its path) keeps only the length of what they share and the rest.
    // Every kRestart-th item is kept whole, so an item is rebuilt from at most
    // kRestart - 1 before it, and the last one rebuilt is kept, so items read
    // in order are rebuilt once each.
    struct Block {
        std::unique_ptr<char[]> text;
        size_t size = 0;
        size_t used = 0;
        int firstItem = 0;
    };
    static constexpr uint32_t kUtf16Item = 0x80000000u;   // set in a start
    static constexpr uint32_t kSharedItem = 0x40000000u;  // set in a start
    static constexpr uint32_t kOffset = 0x3FFFFFFFu;
    static constexpr int kRestart = 16;
    struct Stored {
        const char* text;
        size_t size;
    };
    Stored stored(int i) const;
    // The UTF-8 of item i with its spaces still packed.
    const QByteArray& packedText(int i) const;
    const Block& blockOf(int i) const;
    std::vector<Block> blocks_;
    // Where each item starts, in chunks, so that growing copies nothing and
    // holds no room for items not yet added beyond the last chunk.
    static constexpr int kChunkBits = 16;
    static constexpr int kChunkItems = 1 << kChunkBits;
    static constexpr int kChunkMask = kChunkItems - 1;
    uint32_t start(int i) const { return startChunks_[size_t(i) >> kChunkBits][i & kChunkMask]; }
    std::vector<std::unique_ptr<uint32_t[]>> startChunks_;
    int count_ = 0;
    QStringEncoder encoder_{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
    size_t widest_ = 0;
    std::string previous_;  // the packed text of the last item added
    mutable int rebuiltItem_ = -1;
    mutable QByteArray rebuilt_;
};

}  // namespace forms
