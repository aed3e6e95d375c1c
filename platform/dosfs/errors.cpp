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

const char* errorText(int error) {
    switch (error) {
        case kOk:
            return "no error";
        case kBadFileNameOrNumber:
            return "bad file name or number";
        case kFileNotFound:
            return "file not found";
        case kFileAlreadyOpen:
            return "file already open";
        case kDiskFull:
            return "disk full";
        case kInputPastEnd:
            return "input past end of file";
        case kDeviceUnavailable:
            return "device unavailable";
        case kNotAnswering:
            return "the device does not answer";
        case kPermissionDenied:
            return "permission denied";
        case kPathFileAccessError:
            return "path/file access error";
        case kPathNotFound:
            return "path not found";
        case kReaderLost:
            return "the reader of the mount ended";
        default:
            return "file error";
    }
}

}  // namespace dosfs
