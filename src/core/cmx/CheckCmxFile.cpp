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

std::string JoinPath(std::string_view directory, std::string_view name) {
    std::string path(directory);
    if (path.empty() || (path.back() != Separator && path.back() != '/')) {
        path += Separator;
    }
    path += name;
    return path;
}

std::string CheckCmxFile(bool selected, std::string_view fileName, std::string_view pattern,
                         std::string_view skinDirectory, std::string_view nameBoxText) {
    if (!selected) {
        return std::string(SelectFileFirst);
    }
    if (pattern == "*.BMP") {
        return std::string(NotOnBmpFile);
    }
    if (!IsSkinClass(ClassKey(nameBoxText))) {
        return std::string(NotCheckableType);
    }
    CmxFileSource source(JoinPath(skinDirectory, fileName));
    if (!source.IsOpen()) {
        return "Could not read " + std::string(fileName) + ": " + source.Error();
    }
    const WalkVerdict verdict = WalkCmxLines(source, false);
    // A read that failed part way gives no trustworthy verdict.
    if (!source.Error().empty()) {
        return "Could not read " + std::string(fileName) + ": " + source.Error();
    }
    switch (verdict.kind) {
    case WalkVerdict::Kind::Passed:
        return std::string(NoErrorsFound);
    case WalkVerdict::Kind::Animation:
        return std::string(AnimationNotChecked);
    case WalkVerdict::Kind::Fault:
        break;
    }
    return FaultMessage(verdict.line);
}

} // namespace vestimo::cmx
