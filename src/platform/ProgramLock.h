#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace vestimo::platform {

// Keeps two copies of the program from using the same program folder's scratch file at once.
// Released when the object goes, or when the process ends in any way.
class ProgramLock {
public:
    explicit ProgramLock(const QString& programDirectory);
    ~ProgramLock();
    ProgramLock(const ProgramLock&) = delete;
    ProgramLock& operator=(const ProgramLock&) = delete;

    // Waits up to `waitMs` for another copy to finish.
    bool Acquire(int waitMs);

private:
    QString path_;
    int fd_ = -1;
    std::unique_ptr<QLockFile> fallback_;
};

} // namespace vestimo::platform
