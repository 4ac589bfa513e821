#pragma once

#include <QString>

// What the buyable skin maker window tells the user.
namespace vestimo::buyable {

inline const QString SelectFileFirst = QStringLiteral("Please select a file first!");
inline const QString NotABitmapPattern = QStringLiteral(
    "You are trying to open a file that isn't a bitmap image! You should never see this message "
    "though, and if you do it's a bug...");
inline const QString LoadCmxBeforeExport =
    QStringLiteral("You must load a cmx file before you can export the skin!");
inline const QString SelectCategoryFirst = QStringLiteral("Please Select a type of buyable skin first!");
inline const QString SuccessfullyExported = QStringLiteral("Successfully Exported!");

// A bitmap the viewer cannot show would be exported as some other picture, so it is not loaded.
inline QString BitmapNotShown(const QString& name, const QString& why) {
    return QStringLiteral("%1 cannot be shown (%2), so it cannot be made buyable.").arg(name, why);
}

// A file named only ".cmx" leaves no name to put the category letter into.
inline QString CmxNameEmpty(const QString& name) {
    return QStringLiteral("The CMX file %1 has no name before its extension, so no buyable skin can be named "
                          "after it. Please pick another CMX file.")
        .arg(name);
}

inline QString CmxNameTooShort(const QString& cmxName) {
    return QStringLiteral("Could not export: the CMX name \"%1\" is shorter than the four characters of an "
                          "outfit code.")
        .arg(cmxName);
}

inline QString FileInTheWay(const QString& name) {
    return QStringLiteral("Could not export: %1 is already in the skin directory.").arg(name);
}

inline QString WriteFailed(const QString& name, const QString& why) {
    return QStringLiteral("Could not export: %1 could not be written (%2). Nothing was exported.")
        .arg(name, why);
}

// The bitmap failed after the CMX file was written, and the CMX file would not go away again.
inline QString WriteFailedCmxLeft(const QString& name, const QString& why, const QString& cmxName,
                                  const QString& removeWhy) {
    return QStringLiteral("Could not export: %1 could not be written (%2). %3 was written but could not be "
                          "removed again (%4).")
        .arg(name, why, cmxName, removeWhy);
}

} // namespace vestimo::buyable
