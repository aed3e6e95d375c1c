#pragma once
// The state of the listing in the work file that outlives its scan: how many
// listed files it holds, and whether the output type was changed since the
// scan wrote it. The scan commands and the save-as dialog share this one
// object; the scan counts into it, the dialog recounts a saved copy.

#include <QString>

namespace engine {

class ListingState {
  public:
    qint64 listedCount() const { return listedCount_; }
    bool typeChanged() const { return typeChanged_; }

    // A scan starts: no file listed yet, the type is the scan's own.
    void scanStarted() {
        listedCount_ = 0;
        typeChanged_ = false;
    }
    void fileListed() { ++listedCount_; }
    // A choice in the output-type box: changed or chosen again.
    void setTypeChanged(bool changed) { typeChanged_ = changed; }

    // The save-as dialog counts the lines of the copy it writes.
    void recountStarted() { listedCount_ = 0; }
    void recount(QStringView line) {
        if (countsAsListedFile(line, typeChanged_)) ++listedCount_;
    }

    // Whether a line of a saved listing is one listed file: it does not start
    // with "<", and its second and third characters are not ":" and a blank
    // (so folder headers, drive lines and footers do not count). After a
    // change of output type every line not starting with "<" counts. Only
    // the first three characters are read.
    static bool countsAsListedFile(QStringView line, bool typeChanged);

  private:
    qint64 listedCount_ = 0;
    bool typeChanged_ = false;
};

}  // namespace engine
