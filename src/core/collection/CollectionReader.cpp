#include "core/collection/CollectionReader.h"

#include "core/catalogue/FileErrors.h"
#include "core/cmx/CmxFileSource.h"
#include "platform/IdenticalFiles.h"
#include "platform/Pictures.h"
#include "platform/SkinFolder.h"

#include <QHash>

#include <algorithm>
#include <atomic>
#include <thread>
#include <utility>

namespace vestimo::collection {

namespace {

const QString CmxExtension = QStringLiteral(".cmx");
const QString BitmapExtension = QStringLiteral(".bmp");

// Runs work(i) for every i below count on every core; each i once, in no set order.
template <typename Work> void forEachOnAllCores(std::size_t count, const Work& work) {
    const std::size_t threads =
        std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, std::max<std::size_t>(count / 64, 1));
    std::atomic<std::size_t> next{0};
    const auto run = [&] {
        constexpr std::size_t Batch = 32;
        for (std::size_t start = next.fetch_add(Batch); start < count; start = next.fetch_add(Batch)) {
            for (std::size_t i = start; i < std::min(start + Batch, count); ++i) {
                work(i);
            }
        }
    };
    std::vector<std::thread> helpers;
    helpers.reserve(threads - 1);
    for (std::size_t t = 1; t < threads; ++t) {
        helpers.emplace_back(run);
    }
    run();
    for (std::thread& helper : helpers) {
        helper.join();
    }
}

struct Stamp {
    qint64 size = -1;
    qint64 modifiedNs = 0;
    bool operator==(const Stamp&) const = default;
};

Stamp stampOf(const FolderFile& file) {
    return {file.size, file.modifiedNs};
}

} // namespace

struct CollectionReader::State {
    QString folder;
    FolderFacts facts;
    bool read = false;
    bool judged = false;
    // What was known of each file at the last read, to be reused while the file is unchanged.
    QHash<QString, std::pair<Stamp, CmxFacts>> cmx;
    QHash<QString, std::pair<Stamp, platform::PictureSize>> bitmaps;
};

CollectionReader::CollectionReader(QString folder) : state_(std::make_unique<State>()) {
    state_->folder = std::move(folder);
}
CollectionReader::~CollectionReader() = default;

const QString& CollectionReader::folder() const {
    return state_->folder;
}

Collection CollectionReader::cards() {
    State& s = *state_;
    const platform::SkinFolder folder(s.folder);
    const platform::FileNames listing = folder.list(QStringLiteral("*"));
    FolderFacts facts;
    facts.judged = false;
    if (!listing.ok) {
        facts.ok = false;
        facts.error = listing.error;
    } else {
        facts.files.resize(static_cast<std::size_t>(listing.names.size()));
        forEachOnAllCores(facts.files.size(), [&](std::size_t i) {
            const QString& name = listing.names[static_cast<qsizetype>(i)];
            const std::optional<platform::FileIdentity> identity = folder.identify(name);
            facts.files[i] = {name, identity ? identity->size : 0, identity ? identity->modifiedNs : 0};
        });
        std::vector<std::size_t> cmxFiles;
        for (std::size_t i = 0; i < facts.files.size(); ++i) {
            if (facts.files[i].name.endsWith(CmxExtension, Qt::CaseInsensitive)) {
                cmxFiles.push_back(i);
            }
        }
        facts.cmx.resize(cmxFiles.size());
        forEachOnAllCores(cmxFiles.size(), [&](std::size_t c) {
            const FolderFile& file = facts.files[cmxFiles[c]];
            const auto known = s.cmx.constFind(file.name);
            if (known != s.cmx.constEnd() && known->first == stampOf(file)) {
                facts.cmx[c] = known->second;
                return;
            }
            QByteArray bytes;
            const platform::FileResult read = folder.read(file.name, cmx::CmxSizeLimit, bytes);
            facts.cmx[c] = read.ok
                               ? cmxFacts(file.name, std::string_view(bytes.constData(),
                                                                      static_cast<std::size_t>(bytes.size())))
                               : unreadCmxFacts(file.name, texts::fileError(read.error));
        });
        s.cmx.clear();
        for (std::size_t c = 0; c < cmxFiles.size(); ++c) {
            s.cmx.insert(facts.files[cmxFiles[c]].name, {stampOf(facts.files[cmxFiles[c]]), facts.cmx[c]});
        }
    }
    s.facts = std::move(facts);
    s.read = true;
    s.judged = false;
    return groupCollection(s.facts);
}

Collection CollectionReader::judged() {
    State& s = *state_;
    if (!s.read) {
        cards();
    }
    FolderFacts& facts = s.facts;
    if (!facts.ok || s.judged) {
        return groupCollection(facts);
    }
    const platform::SkinFolder folder(s.folder);
    QStringList names;
    names.reserve(static_cast<qsizetype>(facts.files.size()));
    std::vector<std::size_t> bitmapFiles;
    for (std::size_t i = 0; i < facts.files.size(); ++i) {
        names.append(facts.files[i].name);
        if (facts.files[i].name.endsWith(BitmapExtension, Qt::CaseInsensitive)) {
            bitmapFiles.push_back(i);
        }
    }
    facts.bitmaps.assign(bitmapFiles.size(), {});
    forEachOnAllCores(bitmapFiles.size(), [&](std::size_t b) {
        const FolderFile& file = facts.files[bitmapFiles[b]];
        const auto known = s.bitmaps.constFind(file.name);
        facts.bitmaps[b] = {file.name, known != s.bitmaps.constEnd() && known->first == stampOf(file)
                                           ? known->second
                                           : platform::measurePicture(folder.pathOf(file.name))};
    });
    s.bitmaps.clear();
    for (std::size_t b = 0; b < bitmapFiles.size(); ++b) {
        s.bitmaps.insert(facts.bitmaps[b].name,
                         {stampOf(facts.files[bitmapFiles[b]]), facts.bitmaps[b].picture});
    }
    const platform::IdenticalFiles found = platform::groupIdenticalFiles(folder, names, cmx::CmxSizeLimit);
    facts.identical.clear();
    facts.unread.clear();
    for (const platform::UnreadableFile& file : found.unreadable) {
        // A CMX file that could not be read has its badge already.
        if (!names[file.index].endsWith(CmxExtension, Qt::CaseInsensitive)) {
            facts.unread.push_back({names[file.index], texts::fileError(file.why)});
        }
    }
    for (const platform::IdenticalGroup& group : found.groups) {
        IdenticalNames identical{group.length, {}};
        for (const qsizetype index : group.members) {
            identical.names.append(names[index]);
        }
        facts.identical.push_back(std::move(identical));
    }
    facts.judged = true;
    s.judged = true;
    return groupCollection(facts);
}

bool CollectionReader::changed() const {
    const State& s = *state_;
    if (!s.read) {
        return true;
    }
    const platform::SkinFolder folder(s.folder);
    const platform::FileNames listing = folder.list(QStringLiteral("*"));
    if (listing.ok != s.facts.ok) {
        return true;
    }
    if (!listing.ok) {
        return listing.error != s.facts.error;
    }
    if (static_cast<std::size_t>(listing.names.size()) != s.facts.files.size()) {
        return true;
    }
    // Both listings come in the same order from the same enumeration rules.
    for (std::size_t i = 0; i < s.facts.files.size(); ++i) {
        const FolderFile& file = s.facts.files[i];
        const qsizetype index = static_cast<qsizetype>(i);
        if (listing.names[index] != file.name) {
            return true;
        }
        const std::optional<platform::FileIdentity> identity = folder.identify(file.name);
        if (!identity || identity->size != file.size || identity->modifiedNs != file.modifiedNs) {
            return true;
        }
    }
    return false;
}

} // namespace vestimo::collection
