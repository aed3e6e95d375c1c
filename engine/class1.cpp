#include "engine/class1.h"

#include "platform/codepage/cp932.h"

int Class1::UniLenB(QStringView text) const {
    return codepage::cp932Length(text);  // the code page form's bytes, without building them
}
