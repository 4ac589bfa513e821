#include "core/collection/CollectionView.h"

#include <algorithm>
#include <tuple>
#include <utility>

namespace vestimo::collection {

namespace {

bool shown(const Card& card, const ViewState& state) {
    if (state.kind && card.kind.card != *state.kind) {
        return false;
    }
    if (state.problemsOnly && card.problems.empty()) {
        return false;
    }
    return state.search.isEmpty() || card.name.contains(state.search, Qt::CaseInsensitive);
}

int nameOrder(const Card& a, const Card& b) {
    const int folded = QString::compare(a.name, b.name, Qt::CaseInsensitive);
    return folded != 0 ? folded : QString::compare(a.name, b.name);
}

// Negative when `a` comes first by the sort key alone, 0 when the key ties.
int keyOrder(const Card& a, const Card& b, SortKey sort) {
    const auto three = [](const auto& x, const auto& y) { return x < y ? -1 : (y < x ? 1 : 0); };
    switch (sort) {
    case SortKey::Name:
        return 0;
    case SortKey::Kind:
        return three(std::tuple(a.kind.card, a.kind.category.value_or(buyable::Category::Formal), a.kind.age,
                                a.kind.gender),
                     std::tuple(b.kind.card, b.kind.category.value_or(buyable::Category::Formal), b.kind.age,
                                b.kind.gender));
    case SortKey::Problems:
        return three(b.problems.size(), a.problems.size());
    case SortKey::Date:
        return three(b.newestNs, a.newestNs);
    }
    return 0;
}

} // namespace

ViewState withKind(ViewState state, std::optional<CardKind> kind) {
    state.kind = kind;
    return state;
}
ViewState withProblemsOnly(ViewState state, bool problemsOnly) {
    state.problemsOnly = problemsOnly;
    return state;
}
ViewState withSearch(ViewState state, QString search) {
    state.search = std::move(search);
    return state;
}
ViewState withSort(ViewState state, SortKey sort) {
    state.sort = sort;
    return state;
}

std::vector<qsizetype> visibleCards(const Collection& collection, const ViewState& state) {
    std::vector<qsizetype> visible;
    for (std::size_t i = 0; i < collection.cards.size(); ++i) {
        if (shown(collection.cards[i], state)) {
            visible.push_back(static_cast<qsizetype>(i));
        }
    }
    std::sort(visible.begin(), visible.end(), [&](qsizetype x, qsizetype y) {
        const Card& a = collection.cards[static_cast<std::size_t>(x)];
        const Card& b = collection.cards[static_cast<std::size_t>(y)];
        if (const int byKey = keyOrder(a, b, state.sort); byKey != 0) {
            return byKey < 0;
        }
        if (const int byName = nameOrder(a, b); byName != 0) {
            return byName < 0;
        }
        return x < y;
    });
    return visible;
}

ViewCounts viewCounts(const Collection& collection, const std::vector<qsizetype>& visible) {
    return ViewCounts{static_cast<qsizetype>(visible.size()),
                      static_cast<qsizetype>(collection.problems.size())};
}

QStringList filesToMove(const Collection& collection, qsizetype index) {
    if (index < 0 || index >= static_cast<qsizetype>(collection.cards.size())) {
        return {};
    }
    QStringList moving = collection.cards[static_cast<std::size_t>(index)].files();
    for (qsizetype other = 0; other < static_cast<qsizetype>(collection.cards.size()) && !moving.isEmpty();
         ++other) {
        if (other == index) {
            continue;
        }
        const QStringList claimed = collection.cards[static_cast<std::size_t>(other)].files();
        moving.removeIf([&claimed](const QString& name) { return claimed.contains(name); });
    }
    return moving;
}

} // namespace vestimo::collection
