#pragma once

#include <QListWidget>

namespace vestimo::gui {

// The directory list: the ancestors of the current folder, then its subfolders. Opening an entry
// (double click or Enter) makes it the current folder.
class DirList : public QListWidget {
    Q_OBJECT
    Q_PROPERTY(QString path READ path WRITE setPath NOTIFY pathChanged)

public:
    explicit DirList(QWidget* parent = nullptr);

    // Room for 10 rows where the window has it.
    QSize sizeHint() const override;

    QString path() const { return path_; }
    // Moves to `path`, raising the change when it really changes. A folder that does not exist or
    // cannot be read is refused: false, and the path stays.
    bool setPath(const QString& path);
    // Typing jumps to the first folder whose name starts with what was typed, the indentation
    // that shows the tree aside. Only the highlight moves; Enter opens the folder.
    void keyboardSearch(const QString& search) override;

signals:
    void pathChanged();

private:
    void fill();

    QString path_;
    QString typed_;
    qint64 lastTypedMs_ = 0;
};

} // namespace vestimo::gui
