#include "gui/checks/BitmapDirectoryCheck.h"

#include "platform/FileSystem.h"
#include "platform/Pictures.h"
#include "gui/widgets/PictureBox.h"
#include "core/textures/SkinTextureRules.h"

#include <optional>

namespace vestimo::textures {

namespace {

const QString Unreadable = QStringLiteral("not a readable picture");

} // namespace

MeasuredPicture measureBitmapFile(const QString& path) {
    const platform::PictureSize size = platform::measurePicture(path);
    if (!size.ok) {
        return {false, 0, 0, -1, size.error};
    }
    return {true, hiMetricFromPixels(size.width), hiMetricFromPixels(size.height), -1, {}};
}

PictureMeasure measureIn(shell::PictureBox& box) {
    return [&box](const QString& path) {
        QString why;
        if (!box.loadFile(path, &why)) {
            return MeasuredPicture{false, 0, 0, -1, why};
        }
        return MeasuredPicture{true, box.widthHiMetric(), box.heightHiMetric(), box.fileBytes().size(), {}};
    };
}

shell::DirectoryReport checkBitmapDirectory(const QString& skinDirectory, const QString& programDirectory,
                                            shell::RunProgress& progress, const PictureMeasure& measure,
                                            int lockWaitMs) {
    const PictureMeasure load = measure ? measure : PictureMeasure(measureBitmapFile);
    const auto turn = [&](const QString& name, shell::DirectoryReport& report) {
        const QString path = platform::joinPath(skinDirectory, name);
        const MeasuredPicture picture = load(path);
        if (!picture.ok) {
            const bool plain = picture.error.isEmpty() || picture.error == Unreadable;
            report.Move(name, plain ? Unreadable : QStringLiteral("%1 (%2)").arg(Unreadable, picture.error));
            return;
        }
        const auto width = pixelsFromHiMetric(picture.widthHiMetric);
        const auto height = pixelsFromHiMetric(picture.heightHiMetric);
        const SkinTextureRule* rule = width && height ? findSkinTextureRule(*width, *height) : nullptr;
        if (rule == nullptr) {
            ++report.passedOver;
            return;
        }
        QString why;
        // The load has usually read the whole file already; asking the file system again would
        // cost as much as judging the file.
        const auto length =
            picture.length >= 0 ? std::optional<qint64>(picture.length) : platform::fileLength(path, &why);
        if (!length) {
            report.Move(name, QStringLiteral("its length could not be read: %1").arg(why));
            return;
        }
        if (*length <= rule->MaxFileSize) {
            return;
        }
        const QString reason = QStringLiteral("%1 x %2, %3 bytes, more than %4")
                                   .arg(*width)
                                   .arg(*height)
                                   .arg(*length)
                                   .arg(rule->MaxFileSize);
        // Only the file judged goes: not one that took its place under another case of the name.
        if (platform::lookUpFile(path) != name) {
            report.trouble.append(
                {name, reason + QStringLiteral(", but it is no longer there under this name")});
            return;
        }
        report.Move(name, reason);
    };
    shell::DirectoryReport report = shell::runOverListing(
        skinDirectory, programDirectory, QStringLiteral("*.BMP"), progress, turn, false, lockWaitMs);
    report.passedOverLabel = QStringLiteral("Sizes the texture table does not list, left");
    return report;
}

} // namespace vestimo::textures
