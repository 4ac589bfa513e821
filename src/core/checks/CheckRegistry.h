#pragma once

#include "core/checks/DirectoryCheck.h"

#include <QString>

#include <span>

namespace vestimo::checks {

// One directory-wide check as every front end knows it: the skin editing window makes and wires
// its button from here, the command line its option (and `all`), and the tests go through the
// list. A new check is its rules (a function making its DirectoryCheck), one entry in
// CheckRegistry.cpp and its texts in the catalogue.
struct RegisteredCheck {
    QString key;              // the command line's option and the JSON report's name of the check
    const char* objectName;   // its button in the skin editing window
    DirectoryCheck (*make)(); // the description the frame runs; its command is the button's caption
    QString (*optionHelp)();  // its option's line in `vestimo check --help`

    QString caption() const { return make().command; }
};

// Every directory-wide check, in the order the command line runs them.
std::span<const RegisteredCheck> checkRegistry();
// The check of `key`, or none.
const RegisteredCheck* findCheck(const QString& key);

} // namespace vestimo::checks
