#pragma once

#include "core/games/Discovery.h"
#include "core/sim/Pose.h"
#include "platform/render/Scene.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// A skin put on the Sim: which files make it up, where the pieces that complete the Sim come from,
// and the posed meshes ready to draw. Decides; draws nothing.
namespace vestimo::tryon {

// What to put on the Sim.
struct TryOnRequest {
    QString cmxPath;     // the skin's CMX file
    QString texturePath; // the bitmap to wear; empty: the skin's first texture of `tone`
    QString tone;        // "lgt", "med", "drk", or empty for the first present
    QStringList with;    // further CMX files the player chose (a head, a body, hands)
    bool alone = false;  // only the named skin, nothing to complete it
    QString head;        // a head's CMX name the player picked instead of the rule's; empty: the rule's
};

// One drawn piece: the files it came from and its mesh, posed.
struct TryOnPiece {
    enum class Role { Skin, With, Head, Body, Hand };
    Role role = Role::Skin;
    QString cmxFile;     // as shown: a path, or "archive.far: name" for a file inside an archive
    QString meshFile;    // the same
    QString textureFile; // the same; empty when drawn untextured
    sim::PosedMesh mesh;
    QByteArray texture; // the texture file's bytes
};

struct TryOnScene {
    bool drawable = false; // false: the skin itself cannot be drawn, and `failure` says why
    QString failure;
    QString skeletonFile;
    std::vector<TryOnPiece> pieces;
    QStringList missing;  // completing pieces not found, each saying where it was looked for
    QStringList tones;    // the tones the skin has textures for, of "lgt", "med", "drk", in that order
    QStringList textures; // the skin's own textures (paths), for choosing another
    QStringList heads;    // the heads that could complete the Sim, for choosing another
    QString rule;         // the rule that chose the completing pieces, as shown under the picture
    // Every file read to draw the scene, as an absolute path (an archive's own path for a piece
    // inside it), each once: a picture of the scene is good while these are unchanged.
    QStringList sources;

    // The pieces as the renderer takes them.
    std::vector<platform::render::SceneMesh> sceneMeshes() const;
};

// Where pieces are looked for after the skin's own folder: the Skins folders of installs (the
// install the skin folder belongs to first), then their FAR archives.
struct TryOnPlaces {
    QStringList skinFolders;
    QStringList archives;
};
TryOnPlaces placesFor(const QString& skinFolder, const std::vector<core::games::GameInstall>& installs);

// What earlier builds read, kept for the next ones: the places' listings and archives' manifests,
// the skeletons, and the completing pieces and meshes, parsed and posed. Each is taken again only
// while its file's identity (size, modification time, inode) is unchanged, so many skins drawn one
// after another read the skeleton, the heads and the hands once. One thread at a time; the meshes
// and textures it keeps are bounded.
class TryOnMemo {
public:
    TryOnMemo();
    ~TryOnMemo();
    TryOnMemo(const TryOnMemo&) = delete;
    TryOnMemo& operator=(const TryOnMemo&) = delete;

    struct State;
    State& state() { return *state_; }

private:
    std::unique_ptr<State> state_;
};

// Reads, finds and poses everything the request needs; never throws, never draws. With a memo,
// takes from it what is unchanged and leaves in it what it read.
TryOnScene buildTryOnScene(const TryOnRequest& request, const TryOnPlaces& places, TryOnMemo* memo = nullptr);

} // namespace vestimo::tryon
