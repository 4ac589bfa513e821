#include "core/report/SkinSetReport.h"

#include "core/catalogue/FileErrors.h"
#include "core/catalogue/Report.h"
#include "core/cmx/CmxLayout.h"
#include "core/cmx/CodePage.h"
#include "core/textures/AssociatedFiles.h"
#include "platform/FileSystem.h"
#include "platform/IdenticalFiles.h"
#include "platform/SkinFolder.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace vestimo::report {

namespace {

const std::array<QString, ToneCount> ToneNames = {QStringLiteral("lgt"), QStringLiteral("med"),
                                                  QStringLiteral("drk")};
const QString BitmapExtension = QStringLiteral(".bmp");
const QString CmxExtension = QStringLiteral(".cmx");
// A line 5 longer than this is shown cut short; it is still compared whole.
constexpr qsizetype ShownLineLength = 80;

bool endsWithNoCase(const QString& name, const QString& extension) {
    return name.endsWith(extension, Qt::CaseInsensitive);
}

// The index just past the first `count` characters (code points) of `text`, or -1 when it has fewer.
qsizetype indexAfter(const QString& text, qsizetype count) {
    qsizetype i = 0;
    for (qsizetype n = 0; n < count; ++n) {
        if (i >= text.size()) {
            return -1;
        }
        i += text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
    }
    return i;
}

qsizetype codePoints(const QString& text) {
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++n) {
        i += text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
    }
    return n;
}

bool nameLess(const QString& a, const QString& b) {
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

bool rowLess(const ReportRow& a, const ReportRow& b) {
    if (a.kind != b.kind) {
        return a.kind < b.kind;
    }
    return std::lexicographical_compare(a.files.begin(), a.files.end(), b.files.begin(), b.files.end(),
                                        nameLess);
}

// Line 5 as the CMX rules read lines, or nothing when the file ends before it. Also says whether
// line 1 is the animation header.
struct CmxHead {
    bool animation = false;
    std::optional<QByteArray> line5;
};
CmxHead readHead(const QByteArray& bytes) {
    CmxHead head;
    qsizetype start = 0;
    for (int line = 1; line <= 5; ++line) {
        if (start >= bytes.size()) {
            return head;
        }
        qsizetype end = bytes.indexOf('\r', start);
        if (end < 0) {
            end = bytes.size();
        }
        const QByteArray text = bytes.mid(start, end - start);
        if (line == 1) {
            head.animation = text == QByteArray(cmx::AnimationHeader.data(),
                                                static_cast<qsizetype>(cmx::AnimationHeader.size()));
        } else if (line == 5) {
            head.line5 = text;
        }
        start = end + 1;
        if (start < bytes.size() && bytes[start] == '\n') {
            ++start;
        }
    }
    return head;
}

QString fromCodePage(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        text += QChar(cmx::codePageCharacter(static_cast<unsigned char>(byte)));
    }
    return text;
}

ReportRow makeRow(RowKind kind, QStringList files, QString description, QString advice) {
    std::sort(files.begin(), files.end(), nameLess);
    ReportRow row;
    row.kind = kind;
    row.files = std::move(files);
    row.description = std::move(description);
    row.advice = std::move(advice);
    return row;
}

// Each distinct bitmap prefix of the folder's skin CMX files, and the tones found for it.
struct PrefixIndex {
    QHash<QString, unsigned> tones; // folded prefix -> bit per tone seen
    std::vector<qsizetype> lengths; // prefix lengths in characters, ascending

    void add(const QString& prefix) {
        const QString folded = prefix.toCaseFolded();
        tones.insert(folded, tones.value(folded, 0));
        const qsizetype length = codePoints(prefix);
        if (std::find(lengths.begin(), lengths.end(), length) == lengths.end()) {
            lengths.insert(std::upper_bound(lengths.begin(), lengths.end(), length), length);
        }
    }

    // Whether some prefix claims the bitmap; records the tone it shows for each that does.
    bool claim(const QString& bitmap) {
        bool claimed = false;
        for (const qsizetype length : lengths) {
            const qsizetype cut = indexAfter(bitmap, length);
            if (cut < 0 || bitmap.size() - cut < BitmapExtension.size()) {
                break;
            }
            const auto found = tones.find(bitmap.left(cut).toCaseFolded());
            if (found == tones.end()) {
                continue;
            }
            claimed = true;
            if (bitmap.size() - cut < 3 + BitmapExtension.size()) {
                continue;
            }
            const QStringView tone = QStringView(bitmap).sliced(cut, 3);
            for (int t = 0; t < ToneCount; ++t) {
                if (tone.compare(ToneNames[static_cast<std::size_t>(t)], Qt::CaseInsensitive) == 0) {
                    *found |= 1u << t;
                }
            }
        }
        return claimed;
    }
};

ReportRow bodySkinRow(const QString& cmxName, const QString& prefix, unsigned tones,
                      const QSet<QString>& names, const QHash<QString, QString>& byFolded) {
    ReportRow row = makeRow(RowKind::BodySkin, {cmxName}, {}, {});
    const QString base = cmxName.chopped(CmxExtension.size());
    const qsizetype cut = indexAfter(base, codePoints(prefix));
    const QString rest = cut < 0 ? QString() : base.sliced(cut);
    QStringList wanted;
    for (int t = 0; t < ToneCount; ++t) {
        const QString& tone = ToneNames[static_cast<std::size_t>(t)];
        if ((tones & (1u << t)) != 0) {
            row.tonesPresent.append(tone);
        } else {
            row.tonesMissing.append(tone);
            wanted.append(prefix + tone + rest + BitmapExtension);
        }
    }
    row.meshName = textures::meshFileName(cmxName);
    QString meshText;
    QStringList advice;
    if (!wanted.isEmpty()) {
        advice.append(texts::reportAddTones(wanted.join(QStringLiteral(", "))));
    }
    if (names.contains(row.meshName)) {
        row.mesh = MeshState::Present;
        meshText = texts::reportMeshPresent(row.meshName);
    } else if (const auto stored = byFolded.find(row.meshName.toCaseFolded()); stored != byFolded.end()) {
        row.mesh = MeshState::CaseDiffers;
        meshText = texts::reportMeshCaseNote(row.meshName, *stored);
    } else {
        row.mesh = MeshState::Missing;
        meshText = texts::reportMeshMissing(row.meshName);
        advice.append(texts::reportAddMesh(row.meshName));
    }
    const auto listed = [](const QStringList& list) {
        return list.isEmpty() ? texts::reportNone() : list.join(QStringLiteral(", "));
    };
    row.description =
        texts::reportTones(listed(row.tonesPresent), listed(row.tonesMissing)) + u' ' + meshText;
    row.advice = advice.isEmpty() ? texts::reportNothingToDo() : advice.join(u' ');
    return row;
}

// Line 5 of a skin CMX file against its name; nothing when they agree or the file is an animation.
std::optional<ReportRow> nameMismatchRow(const QString& name, const QByteArray& bytes) {
    const CmxHead head = readHead(bytes);
    if (head.animation) {
        return std::nullopt;
    }
    const QString base = name.chopped(CmxExtension.size());
    if (!head.line5) {
        return makeRow(RowKind::NameMismatch, {name}, texts::reportNoLine5(), texts::reportWriteName(base));
    }
    const QString line5 = fromCodePage(*head.line5);
    if (line5.toCaseFolded() == base.toCaseFolded()) {
        return std::nullopt;
    }
    // Shown on one line: control characters (a bare line feed, a tab) as their visible pictures.
    QString shown = line5.size() > ShownLineLength ? line5.left(ShownLineLength) + QChar(0x2026) : line5;
    for (QChar& c : shown) {
        if (c.unicode() < 0x20) {
            c = QChar(static_cast<char16_t>(0x2400 + c.unicode()));
        }
    }
    return makeRow(RowKind::NameMismatch, {name}, texts::reportNameMismatch(shown, base),
                   texts::reportWriteName(base));
}

ReportRow unreadableRow(const QString& name, const QString& why) {
    return makeRow(RowKind::Unreadable, {name}, texts::reportUnreadable(why), texts::reportMakeReadable());
}

// Rows that need only the names: case twins, skins' tones and meshes, unclaimed bitmaps. Returns
// the names of the skin CMX files, whose line 5 is judged once they are read.
QSet<QString> nameRows(const QStringList& names, QList<ReportRow>& rows) {
    QSet<QString> exact(names.begin(), names.end());
    QHash<QString, QString> byFolded; // folded name -> one stored name
    // Groups only for the few names that meet another: most folders have none.
    QHash<QString, QStringList> caseGroups;
    byFolded.reserve(names.size());
    for (const QString& name : names) {
        const QString folded = name.toCaseFolded();
        const auto stored = byFolded.find(folded);
        if (stored == byFolded.end()) {
            byFolded.insert(folded, name);
            continue;
        }
        QStringList& group = caseGroups[folded];
        if (group.isEmpty()) {
            group.append(*stored);
        }
        group.append(name);
        *stored = name; // the last of them, as a plain insert would keep
    }
    for (const QStringList& group : std::as_const(caseGroups)) {
        rows.append(makeRow(RowKind::CaseTwins, group, texts::reportCaseTwins(), texts::reportKeepOneName()));
    }

    struct SkinCmx {
        QString name;
        QString prefix;
        bool body = false;
    };
    std::vector<SkinCmx> skins;
    QSet<QString> skinNames;
    PrefixIndex prefixes;
    for (const QString& name : names) {
        if (!endsWithNoCase(name, CmxExtension)) {
            continue;
        }
        const std::string key = cmx::classKey(name.toStdString());
        if (cmx::isSkinClass(key)) {
            const QString prefix = textures::bitmapPrefix(name);
            skins.push_back({name, prefix, key[0] != 'C'});
            skinNames.insert(name);
            prefixes.add(prefix);
        }
    }
    for (const QString& name : names) {
        if (endsWithNoCase(name, BitmapExtension) && !prefixes.claim(name)) {
            rows.append(makeRow(RowKind::UnclaimedBitmap, {name}, texts::reportUnclaimedBitmap(),
                                texts::reportClaimBitmap()));
        }
    }
    for (const SkinCmx& skin : skins) {
        if (skin.body) {
            rows.append(bodySkinRow(skin.name, skin.prefix, prefixes.tones.value(skin.prefix.toCaseFolded()),
                                    exact, byFolded));
        }
    }
    return skinNames;
}

// Rows that need the contents: identical files and line 5 of the skin CMX files, each skin CMX
// file read whole once for both.
void contentRows(const platform::SkinFolder& folder, const QStringList& names, const QSet<QString>& skinNames,
                 QList<ReportRow>& rows) {
    const platform::IdenticalFiles found = platform::groupIdenticalFiles(
        folder, names, ReportReadLimit, [&](qsizetype i) { return skinNames.contains(names[i]); },
        [&](qsizetype i, const QByteArray& bytes) {
            if (std::optional<ReportRow> mismatch = nameMismatchRow(names[i], bytes)) {
                rows.append(std::move(*mismatch));
            }
        });
    for (const platform::UnreadableFile& file : found.unreadable) {
        rows.append(unreadableRow(names[file.index], texts::fileError(file.why)));
    }
    for (const platform::IdenticalGroup& group : found.groups) {
        QStringList files;
        files.reserve(group.members.size());
        for (const qsizetype index : group.members) {
            files.append(names[index]);
        }
        rows.append(makeRow(RowKind::IdenticalContent, std::move(files),
                            texts::reportIdenticalContent(group.length), texts::reportRemoveCopies()));
    }
}

} // namespace

QString toneName(int tone) {
    return tone >= 0 && tone < ToneCount ? ToneNames[static_cast<std::size_t>(tone)] : QString();
}

QString rowKindText(RowKind kind) {
    switch (kind) {
    case RowKind::BodySkin:
        return texts::reportKindBodySkin();
    case RowKind::NameMismatch:
        return texts::reportKindNameMismatch();
    case RowKind::UnclaimedBitmap:
        return texts::reportKindUnclaimedBitmap();
    case RowKind::CaseTwins:
        return texts::reportKindCaseTwins();
    case RowKind::IdenticalContent:
        return texts::reportKindIdenticalContent();
    case RowKind::Unreadable:
        return texts::reportKindUnreadable();
    }
    return {};
}

QString reportText(const QList<ReportRow>& rows) {
    // A file name may hold a tab or a line break; as a space it cannot split the line.
    const auto field = [](QString text) {
        for (QChar& c : text) {
            if (c == u'\t' || c == u'\n' || c == u'\r') {
                c = u' ';
            }
        }
        return text;
    };
    QString text;
    for (const ReportRow& row : rows) {
        text += rowKindText(row.kind) + u'\t' + field(row.files.join(QStringLiteral(", "))) + u'\t' +
                field(row.description) + u'\t' + field(row.advice) + u'\n';
    }
    return text;
}

SkinSetReport makeSkinSetReport(const QString& directory) {
    SkinSetReport report;
    const platform::SkinFolder folder(directory);
    const platform::FileNames listing = folder.list(QStringLiteral("*"));
    if (!listing.ok) {
        report.ok = false;
        report.error = listing.error;
        return report;
    }
    for (const QString& shown : listing.unnamable) {
        report.rows.append(
            makeRow(RowKind::Unreadable, {shown}, texts::reportUnnamable(), texts::reportRenamePlainly()));
    }
    const QSet<QString> skinNames = nameRows(listing.names, report.rows);
    contentRows(folder, listing.names, skinNames, report.rows);
    std::sort(report.rows.begin(), report.rows.end(), rowLess);
    return report;
}

} // namespace vestimo::report
