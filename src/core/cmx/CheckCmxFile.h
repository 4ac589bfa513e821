#pragma once

#include "core/FileFilter.h"

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

} // namespace vestimo::cmx
