#pragma once
// Error numbers of the file layer. Callers show different messages for some
// of them (68 and 76 above all), so the numbers are kept as they always were.

namespace dosfs {

enum Error : int {
    kOk = 0,
    kBadFileNameOrNumber = 52,
    kFileNotFound = 53,
    kFileAlreadyOpen = 55,
    kDiskFull = 61,
    kInputPastEnd = 62,
    kDeviceUnavailable = 68,
    kNotAnswering = 71,  // the device did not answer in time ("disk not ready")
    kPermissionDenied = 70,
    kPathFileAccessError = 75,
    kPathNotFound = 76,
    // Not a device's answer: the helper that reads network and FUSE mounts
    // ended (killed, say) before it answered, so what it held is lost.
    kReaderLost = 1000,
};

// Maps an errno value of a failed call to the error number shown to users.
// missingIsFile tells whether ENOENT means "file not found" rather than
// "path not found".
int errorFromErrno(int err, bool missingIsFile = false);

// What was being done when an error number came: a folder to list and a
// file to write say some numbers more exactly. In the order of the texts of
// the table in errors.cpp.
enum class Doing { Anything, ListingFolder, WritingFile };

// A short English description of an error number, for messages on a terminal.
const char* errorText(int error, Doing doing = Doing::Anything);

// What a number means to someone who chose a drive, a folder or a file name,
// for a caller that says it in words of its own (the window's boxes).
enum class ErrorKind { Other, NoDevice, NotAnswering, NoPath };
ErrorKind errorKind(int error);
}  // namespace dosfs
