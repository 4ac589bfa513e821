#include "core/cmx/CheckCmxFile.h"

#include "core/catalogue/Common.h"
#include "core/catalogue/Verdicts.h"
#include "core/cmx/CmxFileSource.h"
#include "core/cmx/CmxLayout.h"
#include "platform/FileSystem.h"

#include <QFile>

#include <algorithm>

namespace vestimo::cmx {

namespace {

// Bytes in memory, handed out as a file would give them.
class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : rest_(bytes) {}
    std::size_t read(char* buffer, std::size_t capacity) override {
        const std::size_t n = std::min(capacity, rest_.size());
        std::copy_n(rest_.data(), n, buffer);
        rest_.remove_prefix(n);
        return n;
    }

private:
    std::string_view rest_;
};

CmxVerdict unreadable(CmxVerdict::Kind kind, const std::string& why) {
    return CmxVerdict::unreadable(kind, QString::fromStdString(why));
}

} // namespace

bool namesSkinClass(const QString& name) {
    return isSkinClass(classKey(name.toStdString()));
}

CmxVerdict judgeCmx(ByteSource& source, const QString& className, bool handsAtLine9) {
    if (!namesSkinClass(className)) {
        return CmxVerdict::of(CmxVerdict::Kind::OtherClass);
    }
    const WalkVerdict walked = walkCmxLines(source, handsAtLine9);
    switch (walked.kind) {
    case WalkVerdict::Kind::Passed:
        return CmxVerdict::of(CmxVerdict::Kind::Passed);
    case WalkVerdict::Kind::Animation:
        return CmxVerdict::of(CmxVerdict::Kind::Animation);
    case WalkVerdict::Kind::Fault:
        break;
    }
    return CmxVerdict::fault(walked.line);
}

CmxVerdict judgeCmxText(std::string_view bytes, const QString& className, bool handsAtLine9) {
    MemorySource source(bytes);
    return judgeCmx(source, className, handsAtLine9);
}

CmxVerdict judgeOpenedCmx(CmxFileSource& source, const QString& className, bool handsAtLine9) {
    if (source.tooLarge()) {
        return unreadable(CmxVerdict::Kind::TooLarge, source.error());
    }
    if (!source.isOpen()) {
        return unreadable(CmxVerdict::Kind::NotOpened, source.error());
    }
    const CmxVerdict verdict = judgeCmx(source, className, handsAtLine9);
    // A verdict on part of the file is no verdict.
    if (!source.error().empty()) {
        return unreadable(CmxVerdict::Kind::ReadFailed, source.error());
    }
    return verdict;
}

CmxVerdict judgeCmxFile(const QString& path, const QString& className, bool handsAtLine9) {
    // A file of another class is not even opened, so one that cannot be read gets this verdict too.
    if (!namesSkinClass(className)) {
        return CmxVerdict::of(CmxVerdict::Kind::OtherClass);
    }
    CmxFileSource source(QFile::encodeName(path).toStdString());
    return judgeOpenedCmx(source, className, handsAtLine9);
}

QString checkCmxFile(bool selected, std::optional<FileFilter> shown, const QString& skinDirectory,
                     const QString& fileName, const QString& nameBoxText) {
    if (!selected) {
        return texts::selectFileFirst();
    }
    if (shown == FileFilter::Bitmaps) {
        return texts::notOnBmpFileLower();
    }
    return texts::cmxCheckMessage(
        judgeCmxFile(platform::joinPath(skinDirectory, fileName), nameBoxText, false), fileName);
}

} // namespace vestimo::cmx
