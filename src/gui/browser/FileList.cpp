#include "gui/browser/FileList.h"

#include "gui/app/WindowLooks.h"

#include "platform/FileSystem.h"

#include <QCollator>
#include <QMouseEvent>

#include <utility>
#include <vector>

namespace vestimo::gui {

FileList::FileList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true); // keeps lists of thousands of skins quick to fill
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row != listIndex_) {
            listIndex_ = row;
            emit fileClicked();
        }
    });
}

void FileList::setPath(const QString& path) {
    if (path == path_) {
        return;
    }
    path_ = path;
    reload({});
    emit pathChanged();
}

void FileList::setPattern(const QString& pattern) {
    if (pattern == pattern_) {
        return;
    }
    pattern_ = pattern;
    reload({});
    emit patternChanged();
}

bool FileList::setListIndex(int index) {
    if (index < -1 || index >= listCount()) {
        return false;
    }
    if (index == listIndex_) {
        return true;
    }
    listIndex_ = index;
    showSelection();
    emit fileClicked();
    return true;
}

QString FileList::fileName() const {
    return listIndex_ >= 0 ? entries_[listIndex_] : QString();
}

void FileList::refresh() {
    reload(fileName());
}

void FileList::rereadWith(const QString& pattern) {
    const bool changed = pattern != pattern_;
    pattern_ = pattern;
    reload({});
    if (changed) {
        emit patternChanged();
    }
}

void FileList::rereadUnselected() {
    reload({});
}

namespace {

// Natural order, ignoring case. Each name's collation key is made once: comparing through the
// collator directly re-derives both keys on every comparison, which dominated re-reading a
// folder of ten thousand skins.
void sortNaturally(QStringList& names) {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::vector<std::pair<QCollatorSortKey, qsizetype>> keys;
    keys.reserve(static_cast<std::size_t>(names.size()));
    for (qsizetype i = 0; i < names.size(); ++i) {
        keys.emplace_back(collator.sortKey(names[i]), i);
    }
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
    QStringList sorted;
    sorted.reserve(names.size());
    for (const auto& key : keys) {
        sorted.append(names[key.second]);
    }
    names = std::move(sorted);
}

} // namespace

QStringList FileList::readListing(const QString& path, const QString& pattern) {
    QStringList listing = path.isEmpty() ? QStringList() : platform::listFiles(path, pattern).names;
    sortNaturally(listing);
    return listing;
}

void FileList::showListing(const QString& pattern, QStringList listing, bool keepSelection) {
    const bool changed = pattern != pattern_;
    pattern_ = pattern;
    show(std::move(listing), keepSelection && !changed ? fileName() : QString());
    if (changed) {
        emit patternChanged();
    }
}

void FileList::reload(const QString& keepSelected) {
    show(readListing(path_, pattern_), keepSelected);
}

void FileList::show(QStringList listing, const QString& keepSelected) {
    entries_ = std::move(listing);
    listIndex_ = keepSelected.isEmpty() ? -1 : static_cast<int>(entries_.indexOf(keepSelected));
    const QSignalBlocker block(this);
    clear();
    addItems(entries_);
    showSelection();
}

void FileList::showSelection() {
    const QSignalBlocker block(this);
    setCurrentRow(listIndex_);
    if (listIndex_ < 0) {
        clearSelection();
    } else {
        scrollToItem(item(listIndex_));
    }
}

void FileList::mousePressEvent(QMouseEvent* event) {
    pressedRow_ = indexAt(event->position().toPoint()).row();
    pressOnSelected_ = pressedRow_ >= 0 && pressedRow_ == listIndex_;
    QListWidget::mousePressEvent(event);
}

void FileList::mouseReleaseEvent(QMouseEvent* event) {
    QListWidget::mouseReleaseEvent(event);
    // A click on the entry already selected is still a click.
    if (pressOnSelected_ && indexAt(event->position().toPoint()).row() == pressedRow_ && isEnabled()) {
        emit fileClicked();
    }
    pressOnSelected_ = false;
}

QSize FileList::sizeHint() const {
    return {QListWidget::sizeHint().width(), listHeightForRows(*this, WishedListRows, false)};
}

} // namespace vestimo::gui
