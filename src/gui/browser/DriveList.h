#pragma once

#include "platform/Drives.h"

#include <QComboBox>
#include <QHash>

namespace vestimo::gui {

// The drive list: Wine drive letters and mounted file systems. Each drive remembers the folder
// last shown on it, as a drive's current directory does on the game's platform.
class DriveList : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(QString drive READ drive WRITE setDrive NOTIFY driveChanged)

public:
    explicit DriveList(QWidget* parent = nullptr);

    QString drive() const;
    // Chooses a drive by name ("C:" without regard to case, or a mount point). Raises the change
    // when it really changes; false for a drive the list does not have.
    bool setDrive(const QString& name);
    // Shows the drive holding `path` without raising the change (start-up, directory moves).
    void showDriveOf(const QString& path);

    QString rootOf(const QString& name) const;
    // The folder to go to when the drive is chosen: the last one shown on it, else its root.
    QString currentDirectoryOf(const QString& name) const;
    void rememberDirectory(const QString& path);

signals:
    void driveChanged();

private:
    int indexOfName(const QString& name) const;

    QList<platform::Drive> drives_;
    int current_ = -1;
    QHash<QString, QString> lastDirectory_;
};

} // namespace vestimo::gui
