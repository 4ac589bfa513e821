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

    struct Result {
        enum class Kind {
            Held,   // this copy holds the folder now
            Busy,   // another process holds the lock
            Failed, // the lock file could not be used at all; `problem` says why
        };
        // Why it failed; the catalogue makes the text.
        enum class Problem {
            None,
            Link,
            NotRegularFile,
            System, // `reason` holds the system's words
            Unusable,
        };
        Kind kind = Kind::Held;
        Problem problem = Problem::None;
        QString reason;
        bool held() const { return kind == Kind::Held; }
        explicit operator bool() const { return held(); }
    };

    // Waits up to `waitMs` for another copy to finish.
    Result acquire(int waitMs);
    // The lock file, for messages.
    const QString& path() const { return path_; }

private:
    QString path_;
    int fd_ = -1;
    std::unique_ptr<QLockFile> fallback_;
};

} // namespace vestimo::platform
