#pragma once

#include "core/collection/Collection.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// What the Skins view shows of a collection: plain values and pure steps between them.
namespace vestimo::collection {

enum class SortKey { Name, Kind, Problems, Date };

struct ViewState {
    std::optional<CardKind> kind; // none: every kind
    bool problemsOnly = false;
    QString search; // part of the card's name, without regard to case; empty: all
    SortKey sort = SortKey::Name;
    bool operator==(const ViewState&) const = default;
};

ViewState withKind(ViewState state, std::optional<CardKind> kind);
ViewState withProblemsOnly(ViewState state, bool problemsOnly);
ViewState withSearch(ViewState state, QString search);
ViewState withSort(ViewState state, SortKey sort);

// The cards shown, as indexes into collection.cards, in the state's order: names A to Z, kinds in
// CardKind's order, most problems first, newest first; ties by name, then by index.
std::vector<qsizetype> visibleCards(const Collection& collection, const ViewState& state);

// The counts at the top of the view.
struct ViewCounts {
    qsizetype shown = 0;
    qsizetype problems = 0; // in the whole folder
    bool operator==(const ViewCounts&) const = default;
};
ViewCounts viewCounts(const Collection& collection, const std::vector<qsizetype>& visible);

// The files "Move to the problem folder" takes for card `index`: all of the card's files but those
// another card still claims (a texture shared by several skins stays for the others).
QStringList filesToMove(const Collection& collection, qsizetype index);

} // namespace vestimo::collection
