#include "gui/checks/ScratchListing.h"

#include "platform/LineReader.h"
#include "platform/Wildcard.h"

#include <QFile>
#include <QFileInfo>

namespace vestimo::shell {

ScratchListing::ScratchListing(QString programDirectory) : programDirectory_(std::move(programDirectory)) {}

QString ScratchListing::path() const { return platform::JoinPath(programDirectory_, FileName); }

void ScratchListing::Delete() const {
    if (platform::LookUpFile(path()) == FileName) {
        platform::RemoveFile(path());
    }
}

ScratchListing::Written ScratchListing::Write(const QString& skinDirectory, const QString& filter,
                                              bool keepAll) const {
    Written result;
    Delete();
    // Never write through a link someone left under the listing's name: take the link away.
    if (QFileInfo(path()).isSymLink()) {
        platform::RemoveFile(path());
    }
    QStringList unnamable;
    const QStringList names = platform::ListFiles(skinDirectory, keepAll ? QStringLiteral("*") : filter, &unnamable);
    for (const QString& name : unnamable) {
        if (platform::WildcardMatch(filter, name)) {
            result.unnamable.append(name);
        }
    }
    QByteArray bytes;
    for (const QString& name : names) {
        if (keepAll && !platform::WildcardMatch(filter, name)) {
            continue;
        }
        if (name.contains(u'\r') || name.contains(u'\n')) {
            result.leftOut.append(name);
            continue;
        }
        bytes += QFile::encodeName(name);
        bytes += "\r\n";
    }
    // A scratch file: written fresh (never through a link), without waiting for the disk.
    const platform::FileResult saved = platform::WriteNewFile(path(), bytes);
    if (!saved.ok) {
        result.error = saved.error;
        return result;
    }
    if (keepAll) {
        result.everything = names;
    }
    result.ok = true;
    result.size = bytes.size();
    return result;
}

platform::FileResult ScratchListing::Walk(const std::function<void(int)>& advance,
                                          const std::function<void(const QString&)>& visit) const {
    platform::LineReader reader(path());
    if (!reader.IsOpen()) {
        return platform::FileResult::Fail(reader.Error());
    }
    QByteArray line;
    while (reader.Next(line)) {
        const QString name = QFile::decodeName(line);
        advance(static_cast<int>(name.toUcs4().size()));
        visit(name);
    }
    return platform::FileResult::Ok();
}

} // namespace vestimo::shell
