#include "FakeHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace vestimo::test {

void FakeHome::link(const QString& target, const QString& relative) const {
    const QString path = at(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    EXPECT_TRUE(QFile::link(target, path)) << path.toStdString();
}

QString FakeHome::prefix(const QString& relative) const {
    mkdir(relative + "/drive_c");
    mkdir(relative + "/dosdevices");
    link("../drive_c", relative + "/dosdevices/c:");
    return at(relative);
}

QString FakeHome::install(const QString& relative, bool skinsBuy, bool downloads) const {
    mkdir(relative + "/GameData/Skins");
    if (skinsBuy) {
        mkdir(relative + "/ExpansionShared/SkinsBuy");
    }
    if (downloads) {
        mkdir(relative + "/Downloads");
    }
    return at(relative);
}

QString FakeHome::registry(const QString& prefixRelative, const QByteArray& key,
                           const QByteArray& installPath, const char* file) const {
    const QByteArray text = "WINE REGISTRY Version 2\n"
                            ";; All keys relative to \\\\Machine\n"
                            "\n"
                            "#arch=win32\n"
                            "\n"
                            "[Software\\\\Microsoft\\\\Windows] 1700000000\n"
                            "#time=1d9e0a7b3c4f5a6\n"
                            "\"InstallPath\"=\"C:\\\\Elsewhere\"\n"
                            "\n"
                            "[" +
                            key +
                            "] 1700000000\n"
                            "#time=1d9e0a7b3c4f5a6\n"
                            "\"Language\"=dword:00000409\n"
                            "\"InstallPath\"=\"" +
                            installPath + "\"\n";
    return write(prefixRelative + "/" + file, text);
}

QString FakeHome::libraryList(const QString& steamRelative, const QStringList& libraries) const {
    QByteArray text = "\"libraryfolders\"\n{\n";
    for (int i = 0; i < libraries.size(); ++i) {
        text += "\t\"" + QByteArray::number(i) + "\"\n\t{\n\t\t\"path\"\t\t\"" + libraries[i].toUtf8() +
                "\"\n\t\t\"label\"\t\t\"\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"228980\"\t\t\"123\"\n\t\t}\n\t}\n";
    }
    text += "}\n";
    return write(steamRelative + "/steamapps/libraryfolders.vdf", text);
}

std::vector<core::games::GameInstall> FakeHome::discover(const QString& winePrefix) const {
    return core::games::discoverGames({home(), winePrefix});
}

QStringList labels(const std::vector<core::games::GameInstall>& installs) {
    QStringList out;
    for (const auto& install : installs) {
        out.append(install.label);
    }
    return out;
}

QStringList roots(const std::vector<core::games::GameInstall>& installs) {
    QStringList out;
    for (const auto& install : installs) {
        out.append(install.root);
    }
    return out;
}

} // namespace vestimo::test
