#include "engine/listing_state.h"

namespace engine {

bool ListingState::countsAsListedFile(QStringView line, bool typeChanged) {
    const QChar a = line.size() > 0 ? line[0] : QChar();
    const QChar b = line.size() > 1 ? line[1] : QChar();
    const QChar c = line.size() > 2 ? line[2] : QChar();
    if (typeChanged && (line.isEmpty() || a != u'<')) return true;
    return !line.isEmpty() && a != u'<' && b != u':' && c != u' ';
}

}  // namespace engine
