#pragma once

#include "core/cmx/CmxWalk.h"
#include "platform/Descriptor.h"

#include <cstdint>
#include <string>

namespace vestimo::cmx {

// Larger than this, a file is no skin description (the biggest real ones are a few hundred KiB);
// it is refused before any of it is read.
inline constexpr std::int64_t CmxSizeLimit = std::int64_t{64} * 1024 * 1024;

// A file opened for reading, as the walk reads it. Reports why it could not be opened or read, in
// the words of the system. Only ordinary files open: a FIFO or device never blocks the walk.
class CmxFileSource : public ByteSource {
public:
    explicit CmxFileSource(const std::string& path);
    // `name` in the folder open as `directoryFd` (see platform::SkinFolder).
    CmxFileSource(int directoryFd, const std::string& name);
    ~CmxFileSource() override = default;
    CmxFileSource(const CmxFileSource&) = delete;
    CmxFileSource& operator=(const CmxFileSource&) = delete;

    bool isOpen() const { return fd_.isOpen(); }
    // Not opened because it is larger than CmxSizeLimit; Error() says so with its size.
    bool tooLarge() const { return tooLarge_; }
    // Empty while all is well; otherwise why opening or reading failed.
    const std::string& error() const { return error_; }

    std::size_t read(char* buffer, std::size_t capacity) override;

private:
    void take(int fd, std::int64_t size, const std::string& error);

    platform::Descriptor fd_;
    bool tooLarge_ = false;
    std::string error_;
};

} // namespace vestimo::cmx
