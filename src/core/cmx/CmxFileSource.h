#pragma once

#include "core/cmx/CmxWalk.h"

#include <string>

namespace vestimo::cmx {

// A file opened for reading, as the walk reads it. Reports why it could not be opened or read, in
// the words of the system.
class CmxFileSource : public ByteSource {
public:
    explicit CmxFileSource(const std::string& path);
    ~CmxFileSource() override;
    CmxFileSource(const CmxFileSource&) = delete;
    CmxFileSource& operator=(const CmxFileSource&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    // Empty while all is well; otherwise why opening or reading failed.
    const std::string& Error() const { return error_; }

    std::size_t Read(char* buffer, std::size_t capacity) override;

private:
    int fd_ = -1;
    std::string error_;
};

} // namespace vestimo::cmx
