#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// Finding the game's installs in a player's home: Wine, Lutris, Bottles and Proton prefixes and
// Steam libraries, by their fixed places and the install path the game's installer recorded.
namespace vestimo::core::games {

// Where to look. Passed in rather than read from the process, so that a fake home can stand in.
struct DiscoveryPlaces {
    QString home;       // the player's home folder ($HOME)
    QString winePrefix; // $WINEPREFIX, empty when unset
};

// The kind of place an install was found in.
enum class PlaceKind { Wine, Lutris, Bottles, Proton, Steam };

// How it was found there.
enum class FoundBy {
    DefaultPath, // one of the folders the installers use, inside a prefix
    Registry,    // the InstallPath the installer wrote into the prefix's registry
    Steam,       // the collection's folder in a Steam library
};

struct GameInstall {
    QString root;      // the game's folder
    QString skins;     // GameData/Skins: body and head skins
    QString skinsBuy;  // ExpansionShared/SkinsBuy: buyable outfits; empty when absent
    QString downloads; // Downloads; empty when absent
    QString place;     // the prefix or Steam library it was found in
    PlaceKind placeKind = PlaceKind::Wine;
    FoundBy foundBy = FoundBy::DefaultPath;
    QString label; // "The Sims (Wine, ~/.wine)": which game, and where
};

// Every install found, each folder once however many routes lead to it, in an order that depends
// only on what is on disk. Places that are missing or unreadable are passed over; nothing is
// written, nothing is started.
std::vector<GameInstall> discoverGames(const DiscoveryPlaces& places);

// The same, with what was passed over. However long the lists in a home, at most
// MostLibraryFolders library folders and MostRegistryCandidates install paths from registries are
// looked at; each list cut short is one line of `ignored`.
struct Discovered {
    std::vector<GameInstall> installs;
    QStringList ignored;
    qsizetype librariesConsidered = 0;
    qsizetype registryCandidatesConsidered = 0;
};
Discovered discover(const DiscoveryPlaces& places);

} // namespace vestimo::core::games
