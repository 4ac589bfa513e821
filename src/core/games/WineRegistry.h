#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Wine's text registry files (system.reg, user.reg), read for the one value that says where the
// game was installed.
namespace vestimo::core::games {

// Fed one line at a time, so that a large registry is never held whole.
class InstallPathScan {
public:
    // Lines without their line ends, in file order.
    void feed(QByteArrayView line);
    // The "InstallPath" strings under Software\Maxis\The Sims and its Wow6432Node twin, Windows
    // paths as written, in file order and each once. Empty when the text did not begin with
    // Wine's header.
    const QStringList& installPaths() const { return paths_; }

private:
    enum class State { Header, Elsewhere, InGameKey, Done };
    State state_ = State::Header;
    QStringList paths_;
};

// The same for a whole text.
QStringList installPathsInRegistry(QByteArrayView text);

// A registry string without its escapes: \\ \" \n and the like, \x with up to four hex digits
// (one UTF-16 unit), and up to three octal digits.
QString unescapeRegistryString(QByteArrayView escaped);

// True for a key of the game (without regard to case, with or without the Machine\ or
// Software\Classes\ prefix that Wine writes before keys in some files).
bool isGameKey(const QString& key);

} // namespace vestimo::core::games
