#pragma once

#include <QLockFile>
#include <QString>

namespace vestimo::platform {

// Keeps two copies of the program from using the same program folder's scratch file at once.
class ProgramLock {
public:
    explicit ProgramLock(const QString& programDirectory);
    // Waits up to `waitMs` for another copy to finish.
    bool Acquire(int waitMs);

private:
    QLockFile lock_;
};

} // namespace vestimo::platform
