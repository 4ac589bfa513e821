#pragma once

#include <QCoreApplication>
#include <QString>

// The texts every part of the program shares. Each text the program shows lives once in this
// folder, one header per area, named after what it says, and goes through
// QCoreApplication::translate (context "Vestimo"): a translation can be installed without touching
// code. None is shipped, so the English texts are what the program says.
namespace vestimo::texts {

// Every message box carries this title.
inline QString applicationTitle() {
    return QCoreApplication::translate("Vestimo", "Vestimo");
}

// A fault and the line of a text file it lies on.
inline QString atLine(qint64 line, const QString& fault) {
    return QCoreApplication::translate("Vestimo", "line %1: %2").arg(line).arg(fault);
}

inline QString selectFileFirst() {
    return QCoreApplication::translate("Vestimo", "Please select a file first!");
}

// Lower-case "bmp": the single-file CMX commands ("Check CMX For Errors", "Save CMX Changes").
inline QString notOnBmpFileLower() {
    return QCoreApplication::translate("Vestimo", "You cannot perform this action on a bmp file!");
}
// Upper-case "BMP": the directory-wide CMX commands. Players know both spellings; both stay.
inline QString notOnBmpFileUpper() {
    return QCoreApplication::translate("Vestimo", "You cannot perform this action on a BMP file!");
}

inline QString notOnCmxFile() {
    return QCoreApplication::translate("Vestimo", "You cannot perform this action on a CMX file!");
}

// Captions that both windows carry.
inline QString skinDirectoryFrame() {
    return QCoreApplication::translate("Vestimo", "Skin Directory");
}
inline QString setToDefaultGameDirectory() {
    return QCoreApplication::translate("Vestimo", "Set to Default Game Directory");
}
inline QString closeOpenFile() {
    return QCoreApplication::translate("Vestimo", "Close Open File");
}
inline QString bmpImageViewerFrame() {
    return QCoreApplication::translate("Vestimo", "BMP Image Viewer");
}
inline QString closeThisProgram() {
    return QCoreApplication::translate("Vestimo", "Close This Program");
}

} // namespace vestimo::texts
