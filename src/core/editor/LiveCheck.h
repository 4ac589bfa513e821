#pragma once

#include <QString>
#include <QStringView>

// The CMX editor's text checked as it stands: the same bytes "Save CMX Changes" would write, the
// same verdict and message "Check CMX For Errors" gives for them.
namespace vestimo::editor {

// What the status line under the editor shows, and where the first faulty line is.
struct LiveCheckStatus {
    // Empty when nothing is shown.
    QString text;
    // The first faulty line, numbered as the check's message numbers it (0 when none).
    int faultyLine = 0;
    // Where that line starts in the editor's raw text (-1 when none).
    qsizetype faultyPosition = -1;
    bool operator==(const LiveCheckStatus&) const = default;
};

// The status for the editor's raw text (QTextDocument::toRawText()), with the class taken from the
// name box's text; `differsFromFile` adds the note that the text is not saved.
LiveCheckStatus liveCheck(QStringView rawText, const QString& nameBoxText, bool differsFromFile);

// Where line `line` (1-based, as the check counts lines in the encoded bytes) starts in `rawText`:
// the end of the text when it has fewer lines, since that is where the missing line goes.
qsizetype lineStartInText(QStringView rawText, int line);

} // namespace vestimo::editor
