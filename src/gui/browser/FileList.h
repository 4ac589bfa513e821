#pragma once

#include "core/FileFilter.h"

#include <QListWidget>
#include <QStringList>

namespace vestimo::gui {

// The file list: the ordinary files of `path` matching `pattern` (without regard to case),
// sorted by name for the eye. A new path or pattern re-reads the folder and clears the selection.
// `listIndex` is the selected entry (-1 = none); changing it, by the user or from code, raises
// `fileClicked`, as does a click on the entry already selected.
class FileList : public QListWidget {
    Q_OBJECT
    Q_PROPERTY(QString path READ path WRITE setPath NOTIFY pathChanged)
    Q_PROPERTY(QString pattern READ pattern WRITE setPattern NOTIFY patternChanged)
    Q_PROPERTY(int listIndex READ listIndex WRITE setListIndex NOTIFY fileClicked)
    Q_PROPERTY(QString fileName READ fileName)
    Q_PROPERTY(int listCount READ listCount)
    Q_PROPERTY(QStringList entries READ entries)

public:
    explicit FileList(QWidget* parent = nullptr);

    // Room for 10 rows where the window has it.
    QSize sizeHint() const override;

    QString path() const { return path_; }
    void setPath(const QString& path);
    QString pattern() const { return pattern_; }
    void setPattern(const QString& pattern);
    int listIndex() const { return listIndex_; }
    // Selects entry `index` (-1 for none) and raises the click when it changes; false when out of range.
    bool setListIndex(int index);
    // The selected entry's name, or empty.
    QString fileName() const;
    int listCount() const { return static_cast<int>(entries_.size()); }
    QStringList entries() const { return entries_; }
    // Re-reads the folder; the selected name stays selected while it is still listed.
    void refresh();
    // Shows `pattern`'s files read afresh with nothing selected (no click), even when the pattern
    // is already in force.
    void rereadWith(const QString& pattern);
    // Re-reads the folder with nothing selected, without raising the click.
    void rereadUnselected();

    // `path`'s files matching `pattern` in the list's order. Safe on any thread: a run reads the
    // listing on its worker so a folder of 100,000 skins is never read on the window's thread.
    static QStringList readListing(const QString& path, const QString& pattern);
    // Shows `listing` (from readListing for this list's path and `pattern`) as rereadWith does,
    // or, with `keepSelection`, as refresh does.
    void showListing(const QString& pattern, QStringList listing, bool keepSelection);

signals:
    void fileClicked();
    void pathChanged();
    void patternChanged();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void reload(const QString& keepSelected);
    void show(QStringList listing, const QString& keepSelected);
    void showSelection();

    QString path_;
    QString pattern_ = patternOf(FileFilter::Bitmaps);
    QStringList entries_;
    int listIndex_ = -1;
    int pressedRow_ = -1;
    bool pressOnSelected_ = false;
};

} // namespace vestimo::gui
