#include "core/cmx/CheckCmxFile.h"

#include "core/catalogue/Common.h"
#include "core/catalogue/SingleChecks.h"
#include "core/cmx/CmxFileSource.h"
#include "core/cmx/CmxLayout.h"
#include "core/cmx/CmxWalk.h"
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

} // namespace

bool namesSkinClass(const QString& nameBoxText) {
    return isSkinClass(classKey(nameBoxText.toStdString()));
}

CmxCheckAnswer checkCmxBytes(ByteSource& source, const QString& nameBoxText) {
    if (!namesSkinClass(nameBoxText)) {
        return {texts::notCheckableCmxType(), 0};
    }
    const WalkVerdict verdict = walkCmxLines(source, false);
    switch (verdict.kind) {
    case WalkVerdict::Kind::Passed:
        return {texts::noErrorsFound(), 0};
    case WalkVerdict::Kind::Animation:
        return {texts::animationNotChecked(), 0};
    case WalkVerdict::Kind::Fault:
        break;
    }
    return {texts::cmxFaultAtLine(verdict.line), verdict.line};
}

CmxCheckAnswer checkCmxBytes(std::string_view bytes, const QString& nameBoxText) {
    MemorySource source(bytes);
    return checkCmxBytes(source, nameBoxText);
}

QString checkCmxFile(bool selected, std::optional<FileFilter> shown, const QString& skinDirectory,
                     const QString& fileName, const QString& nameBoxText) {
    if (!selected) {
        return texts::selectFileFirst();
    }
    if (shown == FileFilter::Bitmaps) {
        return texts::notOnBmpFileLower();
    }
    // A file of another class is not even opened, so one that cannot be read still gets this answer.
    if (!namesSkinClass(nameBoxText)) {
        return texts::notCheckableCmxType();
    }
    const auto couldNotRead = [&](const std::string& why) {
        return QStringLiteral("Could not read %1: %2").arg(fileName, QString::fromStdString(why));
    };
    CmxFileSource source(QFile::encodeName(platform::joinPath(skinDirectory, fileName)).toStdString());
    if (!source.isOpen()) {
        return couldNotRead(source.error());
    }
    const CmxCheckAnswer answer = checkCmxBytes(source, nameBoxText);
    // A read that failed part way gives no trustworthy verdict.
    if (!source.error().empty()) {
        return couldNotRead(source.error());
    }
    return answer.message;
}

} // namespace vestimo::cmx
