#include "core/checks/CheckRegistry.h"

#include "core/catalogue/CommandLine.h"
#include "core/checks/SkinChecks.h"

#include <array>

namespace vestimo::checks {

namespace {

const std::array<RegisteredCheck, 3>& table() {
    static const std::array<RegisteredCheck, 3> checks = {{
        {QStringLiteral("cmx"), "cmdCheckAllCMX", cmxCheck, texts::optionCmx},
        {QStringLiteral("bmp"), "cmdCheckAllBMP", bitmapCheck, texts::optionBmp},
        {QStringLiteral("assoc"), "cmdAssocFiles", associatedFilesCheck, texts::optionAssoc},
    }};
    return checks;
}

} // namespace

std::span<const RegisteredCheck> checkRegistry() {
    return table();
}

const RegisteredCheck* findCheck(const QString& key) {
    for (const RegisteredCheck& check : table()) {
        if (check.key == key) {
            return &check;
        }
    }
    return nullptr;
}

} // namespace vestimo::checks
