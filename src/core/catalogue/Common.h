#pragma once

#include <QString>

// The texts every part of the program shares. Each text the program shows lives once in this
// folder, one header per area, named after what it says.
namespace vestimo::texts {

// Every message box carries this title.
inline QString applicationTitle() {
    return QStringLiteral("Vestimo");
}

inline QString selectFileFirst() {
    return QStringLiteral("Please select a file first!");
}

// Lower-case "bmp": the single-file CMX commands ("Check CMX For Errors", "Save CMX Changes").
inline QString notOnBmpFileLower() {
    return QStringLiteral("You cannot perform this action on a bmp file!");
}
// Upper-case "BMP": the directory-wide CMX commands. Players know both spellings; both stay.
inline QString notOnBmpFileUpper() {
    return QStringLiteral("You cannot perform this action on a BMP file!");
}

inline QString notOnCmxFile() {
    return QStringLiteral("You cannot perform this action on a CMX file!");
}

// Captions that both windows carry.
inline QString skinDirectoryFrame() {
    return QStringLiteral("Skin Directory");
}
inline QString setToDefaultGameDirectory() {
    return QStringLiteral("Set to Default Game Directory");
}
inline QString closeOpenFile() {
    return QStringLiteral("Close Open File");
}
inline QString bmpImageViewerFrame() {
    return QStringLiteral("BMP Image Viewer");
}
inline QString closeThisProgram() {
    return QStringLiteral("Close This Program");
}

} // namespace vestimo::texts
