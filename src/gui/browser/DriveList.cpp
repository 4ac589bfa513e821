#include "gui/browser/DriveList.h"

#include <QDir>

namespace vestimo::gui {

DriveList::DriveList(QWidget* parent) : QComboBox(parent), drives_(platform::availableDrives()) {
    for (const platform::Drive& d : drives_) {
        addItem(d.name == d.root ? d.name
                                 : QStringLiteral("%1  [%2]").arg(d.name, QDir::toNativeSeparators(d.root)));
    }
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < drives_.size() && index != current_) {
            current_ = index;
            emit driveChanged();
        }
    });
}

int DriveList::indexOfName(const QString& name) const {
    for (int i = 0; i < drives_.size(); ++i) {
        if (drives_[i].name.compare(name, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

QString DriveList::drive() const {
    return current_ >= 0 ? drives_[current_].name : QString();
}

bool DriveList::setDrive(const QString& name) {
    const int index = indexOfName(name);
    if (index < 0) {
        return false;
    }
    if (index == current_) {
        return true;
    }
    current_ = index;
    {
        const QSignalBlocker block(this);
        setCurrentIndex(index);
    }
    emit driveChanged();
    return true;
}

void DriveList::showDriveOf(const QString& path) {
    if (current_ >= 0 && platform::driveIndexOf({drives_[current_]}, path) == 0) {
        return; // the drive shown already holds it
    }
    current_ = platform::driveIndexOf(drives_, path);
    const QSignalBlocker block(this);
    setCurrentIndex(current_);
}

QString DriveList::rootOf(const QString& name) const {
    const int index = indexOfName(name);
    return index >= 0 ? drives_[index].root : QString();
}

QString DriveList::currentDirectoryOf(const QString& name) const {
    const int index = indexOfName(name);
    if (index < 0) {
        return {};
    }
    return lastDirectory_.value(drives_[index].name, drives_[index].root);
}

void DriveList::rememberDirectory(const QString& path) {
    const bool onCurrent = current_ >= 0 && platform::driveIndexOf({drives_[current_]}, path) == 0;
    const int index = onCurrent ? current_ : platform::driveIndexOf(drives_, path);
    if (index >= 0) {
        lastDirectory_.insert(drives_[index].name, path);
    }
}

} // namespace vestimo::gui
