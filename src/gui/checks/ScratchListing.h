#pragma once

#include "platform/FileSystem.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace vestimo::shell {

// The scratch listing file "Temp.txt" in the program folder, through which the directory-wide
// checks list the skin folder first and then walk it name by name: bare names in the order the
// file system gave them, each ended by CR LF. Its byte size is the progress maximum of a walk.
class ScratchListing {
public:
    static inline const QString FileName = QStringLiteral("Temp.txt");

    explicit ScratchListing(QString programDirectory);
    QString path() const;

    struct Written {
        bool ok = false;
        qint64 size = 0;        // bytes written, the progress maximum
        QString error;          // why it could not be written
        QStringList leftOut;    // names that cannot stand on a line (they hold CR or LF)
        QStringList unnamable;  // names that are not valid text, so cannot be named back
        QStringList everything; // every ordinary file of the folder, whatever its name, when asked for
    };
    // Replaces the listing with the names of `skinDirectory` matching `filter`. With `keepAll`, the
    // names of all its files come back too, from the same single enumeration.
    Written Write(const QString& skinDirectory, const QString& filter, bool keepAll = false) const;

    // Reads the listing from its start and hands each name to `visit`, after `advance` has been
    // told the number of characters of that name.
    platform::FileResult Walk(const std::function<void(int characters)>& advance,
                              const std::function<void(const QString& name)>& visit) const;

    // Deletes the listing if the ordinary file named exactly "Temp.txt" is there.
    void Delete() const;

private:
    QString programDirectory_;
};

} // namespace vestimo::shell
