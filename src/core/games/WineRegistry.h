#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSet>
#include <QString>
#include <QStringList>

// Wine's text registry files (system.reg, user.reg), read for the one value that says where the
// game was installed.
namespace vestimo::core::games {

// No prefix holds more installs of the game than this; a registry that names more is not taken
// at its word.
inline constexpr qsizetype MostRegistryCandidates = 1000;

// Fed one line at a time, so that a large registry is never held whole; each line costs the same
// however many came before it.
class InstallPathScan {
public:
    explicit InstallPathScan(qsizetype most = MostRegistryCandidates) : most_(most) {}
    // Lines without their line ends, in file order.
    void feed(QByteArrayView line);
    // The "InstallPath" strings under Software\Maxis\The Sims and its Wow6432Node twin, Windows
    // paths as written, in file order and each once. Empty when the text did not begin with
    // Wine's header.
    // The first `most` of them; `ignored` counts the InstallPath lines after those, unread.
    const QStringList& installPaths() const { return paths_; }
    qsizetype ignored() const { return ignored_; }

private:
    enum class State { Header, Elsewhere, InGameKey, Done };
    State state_ = State::Header;
    qsizetype most_;
    QStringList paths_;
    QSet<QString> seen_;
    qsizetype ignored_ = 0;
};

// The same for a whole text, every path however many.
QStringList installPathsInRegistry(QByteArrayView text);

// A registry string without its escapes: \\ \" \n and the like, \x with up to four hex digits
// (one UTF-16 unit), and up to three octal digits.
QString unescapeRegistryString(QByteArrayView escaped);

// True for a key of the game (without regard to case, with or without the Machine\ or
// Software\Classes\ prefix that Wine writes before keys in some files).
bool isGameKey(const QString& key);

} // namespace vestimo::core::games
