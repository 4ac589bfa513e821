#include "gui/browser/DirList.h"

#include "gui/app/WindowLooks.h"

#include <QApplication>
#include <QCollator>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStyle>

namespace vestimo::gui {

namespace {
constexpr int PathRole = Qt::UserRole;
}

DirList::DirList(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { setPath(item->data(PathRole).toString()); });
}

bool DirList::setPath(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir() || !info.isReadable() || !info.isExecutable()) {
        return false;
    }
    const QString clean = QDir::cleanPath(info.absoluteFilePath());
    if (clean == path_) {
        return true;
    }
    path_ = clean;
    fill();
    emit pathChanged();
    return true;
}

void DirList::keyboardSearch(const QString& search) {
    if (search.isEmpty()) {
        return;
    }
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    // Keys typed in quick succession make one name; a pause starts a new one.
    if (now - lastTypedMs_ > QApplication::keyboardInputInterval()) {
        typed_.clear();
    }
    lastTypedMs_ = now;
    typed_ += search;
    for (int row = 0; row < count(); ++row) {
        if (item(row)->text().trimmed().startsWith(typed_, Qt::CaseInsensitive)) {
            setCurrentRow(row);
            scrollToItem(item(row));
            return;
        }
    }
}

void DirList::fill() {
    clear();
    // Ancestors from the root down, each indented one step more.
    QStringList chain;
    for (QDir dir(path_);;) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp()) {
            break;
        }
    }
    int depth = 0;
    for (const QString& folder : chain) {
        const QString name =
            QDir(folder).isRoot() ? QDir::toNativeSeparators(folder) : QDir(folder).dirName();
        auto* item = new QListWidgetItem(QString(qsizetype{depth} * 2, u' ') + name, this);
        item->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
        item->setData(PathRole, folder);
        ++depth;
    }
    setCurrentRow(count() - 1);
    QStringList children = QDir(path_).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::sort(children.begin(), children.end(), collator);
    for (const QString& child : children) {
        auto* item = new QListWidgetItem(QString(qsizetype{depth} * 2, u' ') + child, this);
        item->setIcon(style()->standardIcon(QStyle::SP_DirIcon));
        item->setData(PathRole, QDir(path_).filePath(child));
    }
}

QSize DirList::sizeHint() const {
    return {QListWidget::sizeHint().width(), listHeightForRows(*this, WishedListRows, true)};
}

} // namespace vestimo::gui
