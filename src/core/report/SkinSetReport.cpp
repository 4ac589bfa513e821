#include "core/report/SkinSetReport.h"

#include "core/catalogue/Report.h"
#include "core/cmx/CmxLayout.h"
#include "core/cmx/CodePage.h"
#include "core/textures/AssociatedFiles.h"
#include "platform/FileSystem.h"
#include "platform/ReadOpen.h"

#include <QFile>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <span>
#include <tuple>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
        meshText = texts::reportMeshCaseDiffers(row.meshName, *stored);
        advice.append(texts::reportRenameMesh(*stored, row.meshName));
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

// Files up to this length are read whole whenever they are read at all; skin CMX files always are.
constexpr qint64 WholeReadLength = qint64{64} * 1024;
// Longer files of a shared length are first told apart by their last bytes: textures of one size
// share every header byte, but their last rows of pixels almost never agree.
constexpr qint64 SampleLength = 4096;
// Long files are compared in pieces of this length, read into one buffer.
constexpr qint64 ChunkLength = qint64{128} * 1024;
// Room for the contents that files are compared with byte for byte, for each kind of grouping;
// past it a content is found by its hash and confirmed by reading its first file again.
constexpr qint64 DistinctBytes = qint64{16} * 1024 * 1024;

// The folder, opened once: its files are reached by their stored names relative to it, which
// spares each of thousands of look-ups the walk of the whole path. Should it not open, full paths
// serve.
class Folder {
public:
    explicit Folder(const QString& directory) : m_directory(directory) {
        do {
            m_fd = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        } while (m_fd < 0 && errno == EINTR);
    }
    ~Folder() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    int fd() const { return m_fd >= 0 ? m_fd : AT_FDCWD; }
    // What to hand the system, with fd(), for the file `name`.
    QByteArray entry(const QString& name) const {
        return QFile::encodeName(m_fd >= 0 ? name : platform::joinPath(m_directory, name));
    }

private:
    QString m_directory;
    int m_fd = -1;
};

// Reads from `fd` until `length` bytes or the end of the file: the count, or -1 with errno set.
qint64 readUpTo(int fd, char* into, qint64 length) {
    qint64 total = 0;
    while (total < length) {
        const ssize_t got = ::read(fd, into + total, static_cast<size_t>(length - total));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        total += got;
    }
    return total;
}

size_t tailHash(const char* bytes, qint64 length) {
    const qint64 from = std::max<qint64>(0, length - SampleLength);
    return qHashBits(bytes + from, static_cast<size_t>(length - from));
}

// The hash of the last SampleLength bytes of the file (all of it when shorter), or nothing with `why`.
std::optional<size_t> readTail(const Folder& folder, const QByteArray& entry, QByteArray& buffer,
                               QString& why) {
    const platform::ReadOpen opened =
        platform::openForReadingAt(folder.fd(), entry.constData(), platform::Links::Follow);
    if (opened.fd < 0) {
        why = QString::fromLocal8Bit(opened.error);
        return std::nullopt;
    }
    const qint64 from = std::max<qint64>(0, opened.size - SampleLength);
    buffer.resize(static_cast<qsizetype>(opened.size - from));
    qsizetype total = 0;
    while (total < buffer.size()) {
        const ssize_t got =
            ::pread(opened.fd, buffer.data() + total, static_cast<size_t>(buffer.size() - total),
                    static_cast<off_t>(from + total));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            why = QString::fromLocal8Bit(std::strerror(errno));
            ::close(opened.fd);
            return std::nullopt;
        }
        if (got == 0) {
            break; // shorter than it said: what was read still tells it apart
        }
        total += got;
    }
    ::close(opened.fd);
    return qHashBits(buffer.constData(), static_cast<size_t>(total));
}

// The length of the file (through a link), as platform::fileLength gives it, in one stat: the
// report asks it of every file in the folder.
std::optional<qint64> lengthOf(const Folder& folder, const QByteArray& entry, QString& why) {
    struct stat status {};
    if (::fstatat(folder.fd(), entry.constData(), &status, 0) != 0) {
        why = QString::fromLocal8Bit(std::strerror(errno));
        return std::nullopt;
    }
    if (S_ISDIR(status.st_mode)) {
        why = QString::fromLocal8Bit(std::strerror(EISDIR));
        return std::nullopt;
    }
    return S_ISREG(status.st_mode) ? qint64{status.st_size} : 0;
}

// The contents of files read whole, to tell which are identical: found by length and a 64-bit
// hash, then confirmed byte for byte against the first file of that content, so equal hashes
// alone never make files identical. The first file's bytes are kept while they fit in
// DistinctBytes; past that it is read again to confirm.
class WholeContents {
public:
    WholeContents(const Folder& folder, const std::vector<QByteArray>& entries)
        : m_folder(folder), m_entries(entries) {}

    void add(qsizetype index, const QByteArray& bytes) {
        const size_t key = qHashBits(bytes.constData(), static_cast<size_t>(bytes.size()),
                                     static_cast<size_t>(bytes.size()));
        const auto head = m_heads.find(key);
        const std::size_t first = head == m_heads.end() ? NoContent : *head;
        for (std::size_t at = first; at != NoContent; at = m_contents[at].next) {
            Content& content = m_contents[at];
            if (content.length == bytes.size() && sameAsFirst(content, bytes)) {
                content.members.append(index);
                return;
            }
        }
        Content content;
        content.length = bytes.size();
        content.members.append(index);
        content.next = first;
        if (m_keptBytes + bytes.size() <= DistinctBytes) {
            content.bytes = QByteArray(bytes.constData(), bytes.size()); // a copy of its own
            content.kept = true;
            m_keptBytes += bytes.size();
        }
        m_contents.push_back(std::move(content));
        m_heads.insert(key, m_contents.size() - 1);
    }

    void appendRows(const QStringList& names, QList<ReportRow>& rows) const {
        for (const Content& content : m_contents) {
            if (content.members.size() > 1) {
                QStringList files;
                files.reserve(content.members.size());
                for (const qsizetype index : content.members) {
                    files.append(names[index]);
                }
                rows.append(makeRow(RowKind::IdenticalContent, std::move(files),
                                    texts::reportIdenticalContent(content.length),
                                    texts::reportRemoveCopies()));
            }
        }
    }

private:
    static constexpr std::size_t NoContent = ~std::size_t{0};
    struct Content {
        qsizetype length = 0;
        QByteArray bytes; // of its first file, when kept
        bool kept = false;
        QList<qsizetype> members;     // the first file first
        std::size_t next = NoContent; // the next content of the same hash
    };

    bool sameAsFirst(const Content& content, const QByteArray& bytes) {
        if (content.kept) {
            return content.bytes == bytes;
        }
        const QByteArray& entry = m_entries[static_cast<std::size_t>(content.members.first())];
        return platform::readFileAt(m_folder.fd(), entry.constData(), ReportReadLimit, m_again).ok &&
               m_again == bytes;
    }

    const Folder& m_folder;
    const std::vector<QByteArray>& m_entries;
    QHash<size_t, std::size_t> m_heads; // hash -> the last content added with it
    std::vector<Content> m_contents;
    qint64 m_keptBytes = 0;
    QByteArray m_again;
};

// A long file of a shared length, told apart from the others by its length and its last bytes.
struct Sampled {
    qint64 length = 0;
    size_t tail = 0;
    qsizetype index = 0;
};

// One group of long files of equal length and equal last bytes, each read through in pieces and
// compared as it comes with the distinct contents met so far in the group, as many as fit in
// DistinctBytes. Past those a content is found by a hash of its pieces and confirmed by comparing
// the two files byte for byte.
class LongContents {
public:
    LongContents(const Folder& folder, const QStringList& names, const std::vector<QByteArray>& entries)
        : m_folder(folder), m_names(names), m_entries(entries), m_chunk(ChunkLength, Qt::Uninitialized) {}

    void group(std::span<const Sampled> files, QList<ReportRow>& rows) {
        m_distinct.clear();
        m_unkept.clear();
        const auto room = static_cast<std::size_t>(std::max<qint64>(1, DistinctBytes / files.front().length));
        for (const Sampled& file : files) {
            add(file.index, m_distinct.size() < room, rows);
        }
        for (const Distinct& content : m_distinct) {
            appendRow(content.members, content.bytes.size(), rows);
        }
        for (const Unkept& content : m_unkept) {
            appendRow(content.members, content.length, rows);
        }
    }

private:
    struct Distinct {
        QByteArray bytes;
        QList<qsizetype> members;
    };
    struct Unkept {
        qint64 length = 0;
        size_t hash = 0;
        QList<qsizetype> members; // the first file first
    };

    void appendRow(const QList<qsizetype>& members, qint64 length, QList<ReportRow>& rows) const {
        if (members.size() < 2) {
            return;
        }
        QStringList files;
        for (const qsizetype index : members) {
            files.append(m_names[index]);
        }
        rows.append(makeRow(RowKind::IdenticalContent, std::move(files),
                            texts::reportIdenticalContent(length), texts::reportRemoveCopies()));
    }

    // Reads the file through once: compared with every kept content, and either kept itself
    // (`keep`) or hashed.
    void add(qsizetype index, bool keep, QList<ReportRow>& rows) {
        const QString& name = m_names[index];
        const QByteArray& entry = m_entries[static_cast<std::size_t>(index)];
        const platform::ReadOpen opened =
            platform::openForReadingAt(m_folder.fd(), entry.constData(), platform::Links::Follow);
        if (opened.fd < 0) {
            rows.append(unreadableRow(name, QString::fromLocal8Bit(opened.error)));
            return;
        }
        if (opened.size > ReportReadLimit) {
            ::close(opened.fd);
            rows.append(unreadableRow(name, platform::tooLargeError(ReportReadLimit)));
            return;
        }
        size_t hash = 0;
        qint64 total = 0;
        const QString why = readComparing(opened, keep, total, hash);
        ::close(opened.fd);
        if (!why.isEmpty()) {
            rows.append(unreadableRow(name, why));
            return;
        }
        settle(index, keep, total, hash);
    }

    // Reads the open file to its end, striking off each kept content it differs from, keeping its
    // bytes (`keep`) or hashing them; why not, when it could not be read.
    QString readComparing(const platform::ReadOpen& opened, bool keep, qint64& total, size_t& hash) {
        if (keep) {
            m_pending.reserve(static_cast<qsizetype>(opened.size + ChunkLength));
        }
        m_alive.assign(m_distinct.size(), true);
        for (;;) {
            if (keep) {
                m_pending.resize(static_cast<qsizetype>(total + ChunkLength));
            }
            char* const into = keep ? m_pending.data() + total : m_chunk.data();
            const qint64 got = readUpTo(opened.fd, into, ChunkLength);
            if (got < 0) {
                return QString::fromLocal8Bit(std::strerror(errno));
            }
            strikeOff(into, total, got);
            if (!keep) {
                hash = qHashBits(into, static_cast<size_t>(got), hash);
            }
            total += got;
            if (total > ReportReadLimit) {
                return platform::tooLargeError(ReportReadLimit);
            }
            if (got < ChunkLength) {
                return {};
            }
        }
    }

    // Strikes off the kept contents whose bytes at `offset` are not these.
    void strikeOff(const char* bytes, qint64 offset, qint64 count) {
        for (std::size_t d = 0; d < m_distinct.size(); ++d) {
            const QByteArray& seen = m_distinct[d].bytes;
            if (m_alive[d] &&
                (seen.size() < offset + count ||
                 std::memcmp(seen.constData() + offset, bytes, static_cast<size_t>(count)) != 0)) {
                m_alive[d] = false;
            }
        }
    }

    // Puts the file just read with the kept content it equals, or with the unkept content of its
    // length and hash whose bytes it shares, or starts a content of its own.
    void settle(qsizetype index, bool keep, qint64 total, size_t hash) {
        const QByteArray& entry = m_entries[static_cast<std::size_t>(index)];
        for (std::size_t d = 0; d < m_distinct.size(); ++d) {
            if (m_alive[d] && m_distinct[d].bytes.size() == total) {
                m_distinct[d].members.append(index);
                return;
            }
        }
        if (keep) {
            m_pending.resize(static_cast<qsizetype>(total));
            m_distinct.push_back({std::exchange(m_pending, QByteArray()), {index}});
            return;
        }
        for (Unkept& content : m_unkept) {
            if (content.length == total && content.hash == hash &&
                sameFiles(m_entries[static_cast<std::size_t>(content.members.first())], entry)) {
                content.members.append(index);
                return;
            }
        }
        m_unkept.push_back({total, hash, {index}});
    }

    // Whether the two files hold the same bytes, read side by side; false when either cannot be.
    bool sameFiles(const QByteArray& first, const QByteArray& second) {
        const platform::ReadOpen a =
            platform::openForReadingAt(m_folder.fd(), first.constData(), platform::Links::Follow);
        if (a.fd < 0) {
            return false;
        }
        const platform::ReadOpen b =
            platform::openForReadingAt(m_folder.fd(), second.constData(), platform::Links::Follow);
        if (b.fd < 0) {
            ::close(a.fd);
            return false;
        }
        m_other.resize(ChunkLength);
        bool same = true;
        for (;;) {
            const qint64 gotA = readUpTo(a.fd, m_chunk.data(), ChunkLength);
            const qint64 gotB = readUpTo(b.fd, m_other.data(), ChunkLength);
            if (gotA < 0 || gotA != gotB ||
                std::memcmp(m_chunk.constData(), m_other.constData(), static_cast<size_t>(gotA)) != 0) {
                same = false;
                break;
            }
            if (gotA < ChunkLength) {
                break;
            }
        }
        ::close(a.fd);
        ::close(b.fd);
        return same;
    }

    const Folder& m_folder;
    const QStringList& m_names;
    const std::vector<QByteArray>& m_entries;
    QByteArray m_chunk;
    QByteArray m_other;
    QByteArray m_pending; // the file being read, while it may become a kept content
    std::vector<Distinct> m_distinct;
    std::vector<Unkept> m_unkept;
    std::vector<bool> m_alive;
};

// Each file's length (-1 when it could not be had, with an Unreadable row), and how many files
// have each length above zero.
std::vector<qint64> lengthsOf(const Folder& folder, const QStringList& names,
                              const std::vector<QByteArray>& entries, QHash<qint64, int>& lengthCount,
                              QList<ReportRow>& rows) {
    std::vector<qint64> lengths(static_cast<std::size_t>(names.size()), -1);
    for (qsizetype i = 0; i < names.size(); ++i) {
        QString why;
        const std::optional<qint64> length = lengthOf(folder, entries[static_cast<std::size_t>(i)], why);
        if (!length) {
            rows.append(unreadableRow(names[i], why));
            continue;
        }
        lengths[static_cast<std::size_t>(i)] = *length;
        if (*length > 0) {
            ++lengthCount[*length];
        }
    }
    return lengths;
}

// Only the long files that may have a twin (one length, one tail) are read whole.
void compareLongFiles(const Folder& folder, const QStringList& names, const std::vector<QByteArray>& entries,
                      std::vector<Sampled>& sampled, QList<ReportRow>& rows) {
    std::sort(sampled.begin(), sampled.end(), [](const Sampled& a, const Sampled& b) {
        return std::tie(a.length, a.tail, a.index) < std::tie(b.length, b.tail, b.index);
    });
    LongContents longFiles(folder, names, entries);
    for (std::size_t first = 0; first < sampled.size();) {
        std::size_t end = first + 1;
        while (end < sampled.size() && sampled[end].length == sampled[first].length &&
               sampled[end].tail == sampled[first].tail) {
            ++end;
        }
        if (end - first > 1) {
            longFiles.group(std::span(sampled).subspan(first, end - first), rows);
        }
        first = end;
    }
}

// Rows that need the contents: identical files and line 5 of the skin CMX files. Lengths first:
// only a file whose length another shares can have a twin, so only those are compared. A skin
// CMX file or a short file is read whole once, for its content and its line 5 together; a long
// one is read whole only when another of its length also ends in the same bytes.
void contentRows(const QString& directory, const QStringList& names, const QSet<QString>& skinNames,
                 QList<ReportRow>& rows) {
    const Folder folder(directory);
    std::vector<QByteArray> entries;
    entries.reserve(static_cast<std::size_t>(names.size()));
    for (const QString& name : names) {
        entries.push_back(folder.entry(name));
    }
    QHash<qint64, int> lengthCount;
    const std::vector<qint64> lengths = lengthsOf(folder, names, entries, lengthCount, rows);
    WholeContents whole(folder, entries);
    std::vector<Sampled> sampled;
    QByteArray buffer; // every file read whole, in turn; only the first of each content is kept
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString& name = names[i];
        const QByteArray& entry = entries[static_cast<std::size_t>(i)];
        const qint64 length = lengths[static_cast<std::size_t>(i)];
        const bool hashed = length > 0 && lengthCount.value(length) > 1;
        const bool skin = length >= 0 && skinNames.contains(name);
        if (!hashed && !skin) {
            continue;
        }
        if (!skin && length > WholeReadLength) {
            QString why;
            const std::optional<size_t> tail = readTail(folder, entry, buffer, why);
            if (!tail) {
                rows.append(unreadableRow(name, why));
                continue;
            }
            sampled.push_back({length, *tail, i});
            continue;
        }
        const platform::FileResult read =
            platform::readFileAt(folder.fd(), entry.constData(), ReportReadLimit, buffer);
        if (!read.ok) {
            rows.append(unreadableRow(name, read.error));
            continue;
        }
        if (hashed && length > WholeReadLength) {
            // A long skin CMX file is compared with the long files of its length.
            sampled.push_back({length, tailHash(buffer.constData(), buffer.size()), i});
        } else if (hashed) {
            whole.add(i, buffer);
        }
        if (skin) {
            if (std::optional<ReportRow> mismatch = nameMismatchRow(name, buffer)) {
                rows.append(std::move(*mismatch));
            }
        }
    }
    whole.appendRows(names, rows);
    compareLongFiles(folder, names, entries, sampled, rows);
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
    const platform::FileNames listing = platform::listFiles(directory, QStringLiteral("*"));
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
    contentRows(directory, listing.names, skinNames, report.rows);
    std::sort(report.rows.begin(), report.rows.end(), rowLess);
    return report;
}

} // namespace vestimo::report
