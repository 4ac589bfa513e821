#pragma once

#include <QString>
#include <QtGlobal>

// One open file descriptor and the few loops every reader and writer of one needs; the floors
// above hold descriptors only through this, never through the system's headers.
namespace vestimo::platform {

// The system's words for an error number.
QString systemError(int code);

// Owns a descriptor and closes it when it goes.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor();
    Descriptor(Descriptor&& other) noexcept : fd_(other.release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }
    // Gives the descriptor up without closing it.
    int release();
    void reset(int fd = -1);
    // Closes now and says whether the close went well: after a write it can be the first news of
    // a lost one.
    bool close();

private:
    int fd_ = -1;
};

// Writes all of `size` bytes, however the system splits them; false with the system's words in
// `why` (and its number in `code`). A write that stores nothing without saying why is taken as a
// full disk, which it is.
bool writeAll(int fd, const char* data, qint64 size, QString& why, int* code = nullptr);
// Reads until `size` bytes are in or the file ends: the count, or -1 with the error number in
// `code`.
qint64 readFully(int fd, char* into, qint64 size, int* code = nullptr);
// One read of at most `size` bytes (as many as the system gives at once): the count, 0 at the
// end, or -1 with the error number in `code`.
qint64 readSome(int fd, char* into, qint64 size, int* code = nullptr);

} // namespace vestimo::platform
