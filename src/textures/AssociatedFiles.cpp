#include "textures/AssociatedFiles.h"

#include "cmx/CmxLayout.h"
#include "platform/FileSystem.h"
#include "platform/Wildcard.h"

#include <algorithm>

namespace vestimo::textures {

namespace {

const QString BitmapPattern = QStringLiteral("*.BMP");
const QString BitmapExtension = QStringLiteral(".bmp");

std::size_t PrefixLength(const std::string& key) {
    if (key[0] == 'C') {
        return 6;
    }
    if (key == "B*CA" || key == "B*DO") {
        return 7;
    }
    return 9;
}

} // namespace

BitmapIndex::BitmapIndex(QStringList bitmapNames) : names_(std::move(bitmapNames)) {
    folded_.reserve(static_cast<std::size_t>(names_.size()));
    for (const QString& name : names_) {
        folded_.push_back(name.toCaseFolded());
    }
    std::sort(folded_.begin(), folded_.end());
}

BitmapIndex BitmapIndex::Of(const QString& directory) {
    return BitmapIndex(platform::ListFiles(directory, BitmapPattern));
}

bool BitmapIndex::HasBitmapFor(const QString& prefix) const {
    if (prefix.contains(u'*') || prefix.contains(u'?')) {
        // The file list reads these as wildcards: ask it the same question, name by name.
        const QString pattern = prefix + BitmapPattern;
        return std::any_of(names_.begin(), names_.end(),
                           [&](const QString& name) { return platform::WildcardMatch(pattern, name); });
    }
    // Every indexed name ends in ".bmp"; it belongs when it begins with the prefix and the two
    // do not overlap.
    const QString folded = prefix.toCaseFolded();
    for (auto it = std::lower_bound(folded_.begin(), folded_.end(), folded);
         it != folded_.end() && it->startsWith(folded); ++it) {
        if (it->size() >= folded.size() + BitmapExtension.size()) {
            return true;
        }
    }
    return false;
}

QString BitmapPrefix(const QString& cmxName) {
    const std::string name = cmxName.toStdString();
    const std::string key = cmx::ClassKey(name);
    if (!cmx::IsSkinClass(key)) {
        return {};
    }
    return QString::fromStdString(std::string(cmx::FirstCharacters(name, PrefixLength(key))));
}

QString MeshFileName(const QString& cmxName) {
    const std::string name = cmxName.toStdString();
    const QString base = QString::fromStdString(std::string(cmx::DropLastCharacters(name, 4)));
    const bool head = cmx::ClassKey(name)[0] == 'C';
    return QStringLiteral("xskin-") + base +
           (head ? QStringLiteral("-HEAD-HEAD.skn") : QStringLiteral("-PELVIS-BODY.skn"));
}

} // namespace vestimo::textures
