#pragma once

#include "core/FileFilter.h"
#include "core/buyable/BuyableExport.h"
#include "core/textures/AssociatedFiles.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The buyable skin maker's working set as a plain value, and what each command does to it.
// A transition gives either the new draft or the one message to show; a refused command changes
// nothing. The window renders a draft; it never reads its controls back.
namespace vestimo::buyable {

enum class BuyableStep {
    Browsing,      // choosing a bitmap: the browser is free
    BitmapLoaded,  // the bitmap is loaded; the browser is locked
    PickingCmx,    // the file list offers the CMX files of the bitmap's directory
    ReadyToExport, // a CMX file is picked; the file list is locked again
};

struct BuyableDraft {
    BuyableStep step = BuyableStep::Browsing;
    QString bitmapName;  // the loaded bitmap's file name, as listed; empty until one is loaded
    QString meshName;    // "xskin-" + CMX base name + "-PELVIS-BODY"; empty until a CMX file is picked
    QString cmxBaseName; // the picked CMX file's name less its extension; empty until one is picked
    // The shop category. Picking a CMX file chooses Formal (the names then carry "F"); a category
    // button chooses its own. None while no CMX file is picked.
    std::optional<Category> category;
    // The category button shown chosen: the last one clicked, kept through later picks and closes
    // while the names follow `category`. None until a button is clicked.
    std::optional<Category> categoryButton;
    // The name boxes still show the texts they start with; the first close or export empties them.
    bool showsStartingTexts = true;

    bool hasBitmap() const { return !bitmapName.isEmpty(); }
    bool hasCmx() const { return !cmxBaseName.isEmpty(); }
    // The file list shows bitmaps until "Load CMX File", CMX files from then on.
    FileFilter listing() const;

    bool operator==(const BuyableDraft&) const = default;
};

// What the three name boxes show: the names with the category letter in front, as the export
// writes them (before the outfit code conversion).
QString bitmapBoxText(const BuyableDraft& draft);
QString meshBoxText(const BuyableDraft& draft);
QString cmxBoxText(const BuyableDraft& draft);

// A command's outcome: the new draft, or else the message that refuses it.
struct DraftChange {
    std::optional<BuyableDraft> draft;
    QString message;

    static DraftChange to(BuyableDraft next) { return {std::move(next), {}}; }
    static DraftChange refused(QString why) { return {std::nullopt, std::move(why)}; }
    bool isRefused() const { return !draft.has_value(); }
};

// A click on the file list. `listing` is what the list showed (none for a pattern the window
// never sets); `fileName` the clicked entry. A bitmap listing previews the file (the draft stays);
// a CMX listing picks the skin's CMX file.
struct FileClick {
    bool previewBitmap = false;
    DraftChange change;
};
FileClick clickFile(const BuyableDraft& draft, std::optional<FileFilter> listing, const QString& fileName);

// "Load BMP File to Change" with `selectedName` the file list's selected entry (empty for none).
// The window shows the bitmap before it applies the draft: a bitmap that cannot be shown is refused.
DraftChange loadBitmap(const BuyableDraft& draft, const QString& selectedName);
// "Load CMX File": the file list turns to CMX files (again, when pressed once more).
DraftChange loadCmxFile(const BuyableDraft& draft);
// "Close Open File": back to choosing a bitmap, the names emptied.
BuyableDraft closeOpenFile(const BuyableDraft& draft);
// A category button: its letter in both names. Without a picked CMX file there is nothing to name.
BuyableDraft chooseCategory(const BuyableDraft& draft, Category category);

// "Try It On": the loaded bitmap worn by the picked CMX file, or while none is picked by the CMX
// file of `cmxNames` (the folder's) that claims it; none without a loaded bitmap or such a file.
std::optional<textures::SkinToTry> tryOnTarget(const BuyableDraft& draft, const QStringList& cmxNames);

// What "Export As Buyable" writes: two new files of the skin directory.
struct ExportPlan {
    QString cmxFileName;    // the new CMX file, ".CMX" in upper case
    QString bitmapFileName; // the new bitmap, the loaded bitmap's extension kept
    QByteArray cmxText;     // the 13-line CMX file, in the players' code page
    bool operator==(const ExportPlan&) const = default;
};
struct ExportDecision {
    std::optional<ExportPlan> plan;
    QString message; // why not, when there is no plan
};
// Export's preconditions, in the order the user meets them, and then its plan.
ExportDecision planExport(const BuyableDraft& draft);

} // namespace vestimo::buyable
