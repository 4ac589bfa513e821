#pragma once

#include "core/buyable/BuyableDraft.h"
#include "gui/app/Services.h"
#include "gui/tryon/TryOnWindow.h"

#include <QByteArray>
#include <QPointer>
#include <QWidget>

#include <memory>

namespace vestimo::gui {

class Application;

// The buyable skin maker window: load a bitmap and its CMX file, pick a shop category, export.
// Its working set is a buyable::BuyableDraft; the controls only show it and report clicks.
class BuyableMakerWindow : public QWidget {
    Q_OBJECT

public:
    explicit BuyableMakerWindow(Application& app);
    ~BuyableMakerWindow() override;

    const buyable::BuyableDraft& draft() const { return draft_; }

private slots:
    void onFileClicked();
    void onLoadBmpClicked();
    void onLoadCmxClicked();
    void onCloseFileClicked();
    void onExportClicked();
    void onCloseProgramClicked();
    // A close request (close box, Alt+F4, Ctrl+Q) while "Close This Program" is disabled.
    void onCloseRefused();
    void onTryOnClicked();

private:
    // Whether a render reads the file list afresh (a new listing) or leaves it and its selection.
    enum class ListReading { Keep, Reread };

    void build();
    void onCategoryClicked(buyable::Category category);
    // Takes a command's outcome: the new draft rendered, or its message shown.
    void apply(const buyable::DraftChange& change, ListReading reading);
    void render(ListReading reading);
    // Shows the bitmap `name` of the directory and its line; on a failure the line says why, and so
    // does `error`.
    bool showBitmap(const QString& name, QString* error = nullptr);
    // While a skin is loaded the browser stays on its directory and the program cannot be closed.
    void setUserInteractionLock(bool locked);

    struct Ui;

    Application& app_;
    Services services_;
    std::unique_ptr<Ui> ui_;
    buyable::BuyableDraft draft_;
    // The loaded bitmap's bytes as read for the viewer: the export copies exactly these.
    QByteArray loadedBitmap_;
    QPointer<TryOnWindow> tryOn_;
    FolderCmxFiles cmxFiles_;
};

} // namespace vestimo::gui
