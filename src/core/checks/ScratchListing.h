#pragma once

#include "core/FileFilter.h"
#include "platform/FileSystem.h"
#include "platform/SkinFolder.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace vestimo::platform {
class JournalStore;
} // namespace vestimo::platform

namespace vestimo::checks {

// The scratch listing file "Temp.txt" in the program folder, which the directory-wide checks
// write before they walk the skin folder name by name: bare names in the order the file system
// gave them, each ended by CR LF. Its byte size is the progress maximum of a walk. The walk itself
// takes the names from the enumeration that wrote the file, never from the file as it lies on
// disk by then: another process may have rewritten it.
class ScratchListing {
public:
    static inline const QString fileName = QStringLiteral("Temp.txt");

    // Given a journal (open), the listing's fingerprint is kept there too, so that a later run of
    // any copy of the program knows the listing as its own.
    explicit ScratchListing(QString programDirectory, platform::JournalStore* keeper = nullptr);
    QString path() const;

    struct Written {
        bool ok = false;
        bool folderUnreadable = false;    // the skin folder could not be read; nothing was written
        qint64 size = 0;                  // bytes written, the progress maximum
        QString error;                    // why the folder could not be read or the listing written
        QStringList names;                // the listed names, in listing order: what a walk visits
        QStringList leftOut;              // names that cannot stand on a line (they hold CR or LF)
        QStringList unnamable;            // names that are not valid text, so cannot be named back
        QList<QByteArray> unnamableBytes; // the same names as stored, in the same order
        platform::FileNames
            everything;              // every ordinary file of the folder, whatever its name, when asked for
        bool earlierTrashed = false; // a "Temp.txt" that was not the program's went to the trash
    };
    // Replaces the listing with the names of `skinDirectory` of the `kind`. With `keepAll`, the
    // names of all its files come back too, from the same single enumeration. A folder that cannot
    // be read leaves any old listing as it was. Only a listing the program wrote is replaced; any
    // other "Temp.txt" goes to the trash first (or, when it cannot, nothing is written). The
    // program remembers what it wrote (and the journal, when there is one).
    Written write(const QString& skinDirectory, FileFilter kind, bool keepAll = false) const;
    // The same for a folder the run has open.
    Written write(const platform::SkinFolder& skinFolder, FileFilter kind, bool keepAll = false) const;
    // What write() would list, from one enumeration of the folder, without writing anything.
    // `bytes` receives the listing's content.
    static Written enumerate(const platform::SkinFolder& skinFolder, FileFilter kind, bool keepAll,
                             QByteArray* bytes = nullptr);

    // Hands each listed name of `written` to `visit` in listing order, after `advance` has been
    // told the number of characters of that name. A name that could reach outside the folder
    // (one holding "/", or "." or "..") is counted but never visited.
    static void walk(const Written& written, const std::function<void(int characters)>& advance,
                     const std::function<void(const QString& name)>& visit);

    // Deletes the listing if the ordinary file named exactly "Temp.txt" is there.
    void remove() const;
    // Deletes the listing only when the program wrote it and it is unchanged since (the same file,
    // size, modification time and content): a "Temp.txt" of anyone else stays.
    void deleteIfOwn() const;

private:
    bool isOwn() const;
    void forget() const;

    QString programDirectory_;
    platform::JournalStore* keeper_ = nullptr;
};

} // namespace vestimo::checks
