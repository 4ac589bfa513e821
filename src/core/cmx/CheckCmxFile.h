#pragma once

#include "core/FileFilter.h"
#include "core/cmx/CmxWalk.h"

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace vestimo::cmx {

// The one message "Check CMX For Errors" shows for `fileName`, selected in `skinDirectory` while
// the list shows `shown` (none: neither kind). The class is taken from the name box's text
// (`nameBoxText`); the lines are read from the selected file as it is stored on disk. Nothing is
// written or changed.
QString checkCmxFile(bool selected, std::optional<FileFilter> shown, const QString& skinDirectory,
                     const QString& fileName, const QString& nameBoxText);

// What "Check CMX For Errors" says about a CMX file's bytes, and the first faulty line (0 when none).
struct CmxCheckAnswer {
    QString message;
    int faultyLine = 0;
    bool operator==(const CmxCheckAnswer&) const = default;
};

// Whether the name box's text names a skin class, the only kind of CMX file the walk judges.
bool namesSkinClass(const QString& nameBoxText);

// The class test, the walk and the choice of message over the bytes `source` gives, for the file
// whose name the name box shows. `source` is not read for a name of another class. A read that
// fails part way is left with the source for its owner to report.
CmxCheckAnswer checkCmxBytes(ByteSource& source, const QString& nameBoxText);
// The same over bytes already in memory.
CmxCheckAnswer checkCmxBytes(std::string_view bytes, const QString& nameBoxText);

} // namespace vestimo::cmx
