#include "core/cmx/CheckCmxFile.h"

#include "core/cmx/CmxFileSource.h"
#include "core/cmx/CmxLayout.h"
#include "core/cmx/CmxMessages.h"
#include "core/cmx/CmxWalk.h"

namespace vestimo::cmx {

namespace {

#ifdef _WIN32
constexpr char Separator = '\\';
#else
constexpr char Separator = '/';
#endif

} // namespace

std::string joinPath(std::string_view directory, std::string_view name) {
    std::string path(directory);
    if (path.empty() || (path.back() != Separator && path.back() != '/')) {
        path += Separator;
    }
    path += name;
    return path;
}

std::string checkCmxFile(bool selected, std::string_view fileName, std::string_view pattern,
                         std::string_view skinDirectory, std::string_view nameBoxText) {
    if (!selected) {
        return std::string(selectFileFirst);
    }
    if (pattern == "*.BMP") {
        return std::string(NotOnBmpFile);
    }
    if (!isSkinClass(classKey(nameBoxText))) {
        return std::string(NotCheckableType);
    }
    CmxFileSource source(joinPath(skinDirectory, fileName));
    if (!source.isOpen()) {
        return "Could not read " + std::string(fileName) + ": " + source.error();
    }
    const WalkVerdict verdict = walkCmxLines(source, false);
    // A read that failed part way gives no trustworthy verdict.
    if (!source.error().empty()) {
        return "Could not read " + std::string(fileName) + ": " + source.error();
    }
    switch (verdict.kind) {
    case WalkVerdict::Kind::Passed:
        return std::string(NoErrorsFound);
    case WalkVerdict::Kind::Animation:
        return std::string(AnimationNotChecked);
    case WalkVerdict::Kind::Fault:
        break;
    }
    return faultMessage(verdict.line);
}

} // namespace vestimo::cmx
