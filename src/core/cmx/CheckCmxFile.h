#pragma once

#include "core/FileFilter.h"
#include "core/cmx/CmxFileSource.h"
#include "core/cmx/CmxWalk.h"

#include <QString>

#include <optional>
#include <string_view>
#include <utility>

namespace vestimo::cmx {

// The one verdict on a CMX file, with what it was found on. Every place that judges a CMX file
// (the directory check, "Check CMX For Errors", the live check, the install, the command line)
// takes it from judgeCmx or judgeCmxFile and words it through the catalogue (core/catalogue/Verdicts.h).
struct CmxVerdict {
    enum class Kind {
        Passed,
        Animation,  // an animation file, which the walk does not judge
        Fault,      // `line` breaks `rule`
        OtherClass, // the name is of no skin class; the file is not read
        TooLarge,   // not opened: larger than CmxSizeLimit; `why` says so with its size
        NotOpened,  // `why`: the system's words
        ReadFailed, // a read failed part way, so there is no verdict on the lines; `why` says why
    };
    Kind kind = Kind::Passed;
    int line = 0; // Fault: the first faulty line (1-based)
    CmxRule rule = CmxRule::Zero;
    QString why;

    static CmxVerdict of(Kind kind) {
        CmxVerdict verdict;
        verdict.kind = kind;
        return verdict;
    }
    static CmxVerdict fault(int line) {
        CmxVerdict verdict = of(Kind::Fault);
        verdict.line = line;
        verdict.rule = ruleAtLine(line);
        return verdict;
    }
    static CmxVerdict unreadable(Kind kind, QString why) {
        CmxVerdict verdict = of(kind);
        verdict.why = std::move(why);
        return verdict;
    }

    // Opening or reading the file failed, so nothing is known of its lines.
    bool unreadable() const {
        return kind == Kind::TooLarge || kind == Kind::NotOpened || kind == Kind::ReadFailed;
    }
    bool operator==(const CmxVerdict&) const = default;
};

// Whether `name` (a file name, or the name box's text) names a skin class, the only kind of CMX
// file the walk judges.
bool namesSkinClass(const QString& name);

// The class test on `className` and the walk over the bytes `source` gives; `source` is not read
// for a name of another class. Hand bones are accepted in the first bone slot when
// `handsAtLine9`. A read that fails part way is left with the source for its owner to report.
CmxVerdict judgeCmx(ByteSource& source, const QString& className, bool handsAtLine9);
// The same over bytes already in memory.
CmxVerdict judgeCmxText(std::string_view bytes, const QString& className, bool handsAtLine9);
// The same over a file already opened as `source` (one of a skin class), a read that fails part
// way giving ReadFailed.
CmxVerdict judgeOpenedCmx(CmxFileSource& source, const QString& className, bool handsAtLine9);
// The same over the file at `path`, opened only for a name of a skin class and closed again
// before this returns, a read that fails part way giving ReadFailed.
CmxVerdict judgeCmxFile(const QString& path, const QString& className, bool handsAtLine9);

// The one message "Check CMX For Errors" shows for `fileName`, selected in `skinDirectory` while
// the list shows `shown` (none: neither kind). The class is taken from the name box's text
// (`nameBoxText`); the lines are read from the selected file as it is stored on disk. Nothing is
// written or changed.
QString checkCmxFile(bool selected, std::optional<FileFilter> shown, const QString& skinDirectory,
                     const QString& fileName, const QString& nameBoxText);

} // namespace vestimo::cmx
