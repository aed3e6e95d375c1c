#include "platform/dosfs/errors.h"

#include <cerrno>

namespace dosfs {

int errorFromErrno(int err, bool missingIsFile) {
    switch (err) {
        case 0:
            return kOk;
        case ENOENT:
        case ENOTDIR:
            return missingIsFile ? kFileNotFound : kPathNotFound;
        case EACCES:
        case EPERM:
            return kPermissionDenied;
        case ENOSPC:
        case EDQUOT:
            return kDiskFull;
        case ENAMETOOLONG:
        case EINVAL:
        case EILSEQ:
            return kBadFileNameOrNumber;
        case ENODEV:
        case ENXIO:
        case ENOMEDIUM:
            return kDeviceUnavailable;
        default:
            return kPathFileAccessError;
    }
}

namespace {

// The one table of what each error number says, by what was being done (a
// null text: as for Doing::Anything); its last row answers for any number
// not in it.
struct ErrorRow {
    int error;
    const char* texts[3];
    ErrorKind kind = ErrorKind::Other;
};

constexpr ErrorRow kErrors[] = {
    {kOk, {"no error"}},
    {kBadFileNameOrNumber,
     {"bad file name or number", nullptr, "bad file name (too long, or not allowed)"}},
    {kFileNotFound, {"file not found", "no such folder"}},
    {kFileAlreadyOpen, {"file already open"}},
    {kDiskFull, {"disk full", nullptr, "the disk is full (no space left on the device)"}},
    {kInputPastEnd, {"input past end of file"}},
    {kDeviceUnavailable, {"device unavailable"}, ErrorKind::NoDevice},
    {kNotAnswering, {"the device does not answer"}, ErrorKind::NotAnswering},
    {kPermissionDenied, {"permission denied", "permission denied: this user may not read it"}},
    {kPathFileAccessError, {"path/file access error"}},
    {kPathNotFound,
     {"path not found", "no such folder", "the folder to write in does not exist"},
     ErrorKind::NoPath},
    {kReaderLost, {"the reader of the mount ended"}},
    {-1, {"file error"}},
};

const ErrorRow& rowOf(int error) {
    const ErrorRow* row = kErrors;
    while (row->error != error && row->error != -1) ++row;
    return *row;
}

}  // namespace

const char* errorText(int error, Doing doing) {
    const ErrorRow& row = rowOf(error);
    const char* exact = row.texts[static_cast<int>(doing)];
    return exact ? exact : row.texts[0];
}

ErrorKind errorKind(int error) {
    return rowOf(error).kind;
}

}  // namespace dosfs
