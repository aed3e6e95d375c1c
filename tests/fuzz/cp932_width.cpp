// Code page 932 and the display width on any UTF-16, lone surrogates
// included: the width of a text is its byte length in code page 932.

#include "tests/fuzz/fuzz_support.h"

#include "engine/class1.h"
#include "platform/codepage/cp932.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = utf16(data, size);
    const QByteArray bytes = codepage::toCp932(text);
    FUZZ_CHECK(Class1().UniLenB(text) == bytes.size());
    FUZZ_CHECK(codepage::cp932Length(text) == bytes.size());
    bool valid = false;
    const QString back = codepage::fromCp932(bytes, &valid);
    FUZZ_CHECK(codepage::toCp932(back) == bytes);
    codepage::fromCp932(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    return 0;
}
