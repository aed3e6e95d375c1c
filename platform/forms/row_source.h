#pragma once
// Rows a list box shows that are kept elsewhere (the scan's table): made
// when a row is drawn, read aloud, copied or written, never stored as text.

#include <QString>

#include <cstddef>

namespace forms {

class RowSource {
  public:
    virtual ~RowSource() = default;
    virtual int count() const = 0;
    // Row i, 0 <= i < count().
    virtual QString at(int i) const = 0;
    // The most display cells a row takes, for a list that scrolls sideways;
    // 0 when the list never does.
    virtual size_t widest() const { return 0; }
    // The bytes the source keeps of its own (not what it shares), for
    // benchmarks.
    virtual size_t memoryUsed() const { return 0; }
};

}  // namespace forms
