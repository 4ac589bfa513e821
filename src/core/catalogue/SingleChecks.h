#pragma once

#include <QCoreApplication>
#include <QLocale>
#include <QString>

// The texts of the one-file checks: "Check CMX" and "Check BMP" in the skin editing window.
namespace vestimo::texts {

// The maintainers' address, configured for the build; several messages end with it.
QString maintainerContact();

inline QString notCheckableCmxType() {
    return QCoreApplication::translate("Vestimo", "This is an animation or another cmx type we can't check, "
                                                  "so we can't deal with it at this time, sorry.");
}
inline QString animationNotChecked() {
    return QCoreApplication::translate("Vestimo", "We can't check animation files at this time, sorry.");
}
inline QString noErrorsFound() {
    return QCoreApplication::translate("Vestimo", "No Errors Found.");
}

// The message naming the first faulty line of a CMX file.
QString cmxFaultAtLine(int line);

// The size is not in the texture table. It deliberately does not state the dimensions: the player
// is asked to note them.
inline QString dimensionsNotRecognized() {
    return QCoreApplication::translate(
               "Vestimo",
               "This is a file dimension pair not recognized by this program. Please make a note of "
               "the dimensions and email them to ") +
           maintainerContact() +
           QCoreApplication::translate("Vestimo", " so we can update the program to recognize it.");
}
// "a not a" is the wording players know; it stays.
inline QString notAValidSkinFile() {
    return QCoreApplication::translate("Vestimo", "This is a not a valid Skin File.");
}
inline QString aValidSkinFile() {
    return QCoreApplication::translate("Vestimo", "This is a valid Skin File.");
}
// Under either verdict: what it was judged on.
inline QString bitmapMeasured(int width, int height, qint64 length, qint64 limit) {
    const QLocale grouped(QLocale::English);
    return QCoreApplication::translate("Vestimo", "%1 x %2, %3 bytes (limit %4)")
        .arg(width)
        .arg(height)
        .arg(grouped.toString(length), grouped.toString(limit));
}

} // namespace vestimo::texts
