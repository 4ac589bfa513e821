#include "platform/ProgramLock.h"

#include "platform/FileSystem.h"

namespace vestimo::platform {

ProgramLock::ProgramLock(const QString& programDirectory)
    : lock_(JoinPath(programDirectory, QStringLiteral(".vestimo.lock"))) {}

bool ProgramLock::Acquire(int waitMs) { return lock_.tryLock(waitMs); }

} // namespace vestimo::platform
