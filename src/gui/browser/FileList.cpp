#include "gui/browser/FileList.h"

#include "platform/FileSystem.h"

#include <QCollator>
#include <QMouseEvent>

namespace vestimo::shell {

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

void FileList::reload(const QString& keepSelected) {
    entries_ = path_.isEmpty() ? QStringList() : platform::listFiles(path_, pattern_).names;
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::sort(entries_.begin(), entries_.end(), collator);
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

} // namespace vestimo::shell
