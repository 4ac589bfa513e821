#pragma once

#include <cstdint>
#include <string>

// Plain POSIX, no Qt: the CMX rules read through this as well as the rest of the program.
namespace vestimo::platform {

// Whether a symbolic link at the path itself may be followed. Skin files may be links to files
// kept elsewhere and are read through them; the program's own files never are links.
enum class Links { Follow, Refuse };

struct ReadOpen {
    int fd = -1;           // open for blocking reads, close-on-exec; -1 on failure
    std::string error;     // why not, in the words of the system
    std::int64_t size = 0; // from fstat on the descriptor that was opened
    std::int64_t inode = 0;
    std::int64_t device = 0;
    std::int64_t modifiedNs = 0;
};

// Opens an ordinary file for reading without ever blocking in open: a FIFO, device or socket
// put where a file was is refused with "not an ordinary file", a folder with "Is a directory".
// The caller closes `fd`.
ReadOpen openForReading(const char* path, Links links);
// The same for `name` in the folder open as `directoryFd` (AT_FDCWD: the working folder): a pass
// over thousands of one folder's files spares each the look-up of the whole path.
ReadOpen openForReadingAt(int directoryFd, const char* name, Links links);

inline constexpr const char* NotOrdinaryFile = "not an ordinary file";

} // namespace vestimo::platform
