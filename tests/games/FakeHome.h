#pragma once

#include "core/games/Discovery.h"
#include "support/TempDir.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace vestimo::test {

// A player's home in a temporary folder, with helpers to lay out prefixes, libraries and installs.
class FakeHome {
public:
    QString home() const { return dir_.path(); }
    // Absolute path of `relative` under the home.
    QString at(const QString& relative) const { return dir_.filePath(relative); }
    QString mkdir(const QString& relative) const { return dir_.mkdir(relative); }
    QString write(const QString& relative, const QByteArray& bytes) const {
        return dir_.write(relative, bytes);
    }
    // A symbolic link at `relative` pointing to `target` as given (absolute or relative).
    void link(const QString& target, const QString& relative) const;

    // A Wine prefix at `relative`: drive_c and dosdevices/c: -> ../drive_c.
    QString prefix(const QString& relative) const;
    // The folders of an install at `relative` (GameData/Skins, and on request SkinsBuy and Downloads).
    QString install(const QString& relative, bool skinsBuy = false, bool downloads = false) const;
    // A system.reg holding `installPath` (escaped as Wine writes it) under `key` (escaped too).
    QString registry(const QString& prefixRelative, const QByteArray& key, const QByteArray& installPath,
                     const char* file = "system.reg") const;
    // A libraryfolders.vdf of the current form listing `libraries` (absolute paths).
    QString libraryList(const QString& steamRelative, const QStringList& libraries) const;

    std::vector<core::games::GameInstall> discover(const QString& winePrefix = {}) const;

private:
    TempDir dir_;
};

QStringList labels(const std::vector<core::games::GameInstall>& installs);
QStringList roots(const std::vector<core::games::GameInstall>& installs);

} // namespace vestimo::test
