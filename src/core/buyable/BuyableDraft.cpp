#include "core/buyable/BuyableDraft.h"

#include "core/catalogue/Buyable.h"
#include "core/catalogue/Common.h"
#include "core/cmx/CmxLayout.h"

#include <string>

namespace vestimo::buyable {

namespace {

// An outfit code: the category letter and three more characters.
constexpr std::size_t CodeLength = 4;
// ".cmx", cut by characters whatever its case.
constexpr std::size_t ExtensionLength = 4;

QString withLetter(const QString& name, Category category) {
    return QString::fromStdString(replaceFirstCharacter(name.toStdString(), letterOf(category)));
}

// The first fault of `name` as the message that refuses the export, or empty.
QString faultMessage(const QString& name) {
    const std::optional<NameFault> fault = findNameFault(name.toStdString());
    if (!fault) {
        return {};
    }
    switch (fault->kind) {
    case NameFault::Kind::ControlCharacter:
        return texts::nameHasControlCharacter(name, fault->character);
    case NameFault::Kind::NotInCodePage:
        return texts::nameOutsideCodePage(name, fault->character);
    case NameFault::Kind::NotText:
        break;
    }
    return texts::nameNotText(name);
}

DraftChange pickCmxFile(const BuyableDraft& draft, const QString& fileName) {
    const std::string name = fileName.toStdString();
    const QString base = QString::fromStdString(std::string(cmx::dropLastCharacters(name, ExtensionLength)));
    if (base.isEmpty()) {
        return DraftChange::refused(texts::cmxNameEmpty(fileName));
    }
    BuyableDraft next = draft;
    next.step = BuyableStep::ReadyToExport;
    next.meshName = QStringLiteral("xskin-") + base + QStringLiteral("-PELVIS-BODY");
    next.cmxBaseName = base;
    // Every freshly picked skin starts as Formal, whatever category the last one had.
    next.category = Category::Formal;
    return DraftChange::to(std::move(next));
}

} // namespace

FileFilter BuyableDraft::listing() const {
    return step == BuyableStep::Browsing || step == BuyableStep::BitmapLoaded ? FileFilter::Bitmaps
                                                                              : FileFilter::CmxFiles;
}

QString bitmapBoxText(const BuyableDraft& draft) {
    if (!draft.hasBitmap()) {
        return draft.showsStartingTexts ? texts::bmpFileNamePlaceholder() : QString();
    }
    return draft.category ? withLetter(draft.bitmapName, *draft.category) : draft.bitmapName;
}

QString meshBoxText(const BuyableDraft& draft) {
    if (!draft.hasCmx()) {
        return draft.showsStartingTexts ? texts::sknFileNamePlaceholder() : QString();
    }
    return draft.meshName;
}

QString cmxBoxText(const BuyableDraft& draft) {
    if (!draft.hasCmx()) {
        return draft.showsStartingTexts ? texts::cmxFileNamePlaceholder() : QString();
    }
    return draft.category ? withLetter(draft.cmxBaseName, *draft.category) : draft.cmxBaseName;
}

FileClick clickFile(const BuyableDraft& draft, std::optional<FileFilter> listing, const QString& fileName) {
    if (!listing) {
        return {false, DraftChange::refused(texts::notABitmapImageBug())};
    }
    if (*listing == FileFilter::Bitmaps) {
        return {true, DraftChange::to(draft)};
    }
    // CMX files are listed only for a loaded bitmap; there is no skin to name otherwise.
    if (!draft.hasBitmap()) {
        return {false, DraftChange::to(draft)};
    }
    return {false, pickCmxFile(draft, fileName)};
}

DraftChange loadBitmap(const BuyableDraft& draft, const QString& selectedName) {
    if (selectedName.isEmpty()) {
        return DraftChange::refused(texts::selectFileFirst());
    }
    if (draft.step != BuyableStep::Browsing) {
        return DraftChange::to(draft); // the button is disabled: the loaded bitmap stays
    }
    BuyableDraft next = draft;
    next.step = BuyableStep::BitmapLoaded;
    next.bitmapName = selectedName;
    return DraftChange::to(std::move(next));
}

DraftChange loadCmxFile(const BuyableDraft& draft) {
    if (!draft.hasBitmap()) {
        return DraftChange::refused(texts::selectFileFirst());
    }
    BuyableDraft next = draft;
    next.step = BuyableStep::PickingCmx;
    return DraftChange::to(std::move(next));
}

BuyableDraft closeOpenFile(const BuyableDraft& draft) {
    BuyableDraft next;
    next.showsStartingTexts = false;
    next.categoryButton = draft.categoryButton;
    return next;
}

BuyableDraft chooseCategory(const BuyableDraft& draft, Category category) {
    BuyableDraft next = draft;
    if (next.hasCmx()) {
        next.category = category;
        next.categoryButton = category;
    }
    return next;
}

ExportDecision planExport(const BuyableDraft& draft) {
    if (!draft.hasCmx()) {
        return {std::nullopt, texts::loadCmxBeforeExport()};
    }
    if (!draft.category) {
        return {std::nullopt, texts::selectBuyableTypeFirst()};
    }
    const QString cmxName = cmxBoxText(draft);
    if (cmx::characterCount(cmxName.toStdString()) < CodeLength) {
        return {std::nullopt, texts::cmxNameShorterThanOutfitCode(cmxName)};
    }
    const ExportedNames names = exportNames(bitmapBoxText(draft).toStdString(), cmxName.toStdString());
    const QString newCmxName = QString::fromStdString(names.newCmxName);
    // Both names go into the CMX text, one per line, in the players' code page.
    for (const QString& name : {newCmxName, draft.meshName}) {
        const QString fault = faultMessage(name);
        if (!fault.isEmpty()) {
            return {std::nullopt, fault};
        }
    }
    ExportPlan plan{
        newCmxName + QStringLiteral(".CMX"), QString::fromStdString(names.newBitmapName),
        QByteArray::fromStdString(buyableCmxText(names.newCmxName, draft.meshName.toStdString()))};
    return {std::move(plan), {}};
}

std::optional<textures::SkinToTry> tryOnTarget(const BuyableDraft& draft, const QStringList& cmxNames) {
    if (!draft.hasBitmap()) {
        return std::nullopt;
    }
    QString cmxName;
    if (draft.hasCmx()) {
        // The picked file as listed; its base name is what the draft keeps.
        for (const QString& name : cmxNames) {
            if (name.size() > 4 && name.chopped(4) == draft.cmxBaseName) {
                cmxName = name;
                break;
            }
        }
    } else {
        cmxName = textures::skinClaiming(draft.bitmapName, cmxNames);
    }
    if (cmxName.isEmpty()) {
        return std::nullopt;
    }
    return textures::SkinToTry{cmxName, draft.bitmapName};
}

} // namespace vestimo::buyable
