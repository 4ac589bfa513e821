#pragma once

#include "gui/browser/BrowserControls.h"

#include "core/buyable/BuyableDraft.h"
#include "gui/app/Services.h"
#include "gui/browser/Browser.h"

#include <QByteArray>
#include <QWidget>

#include <array>
#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vestimo::gui {

class GameFoldersBox;

class Application;
class DirList;
class DriveList;
class FileList;
class PictureBox;

// The buyable skin maker window: load a bitmap and its CMX file, pick a shop category, export.
// Its working set is a buyable::BuyableDraft; the controls only show it and report clicks.
class BuyableMakerWindow : public QWidget {
    Q_OBJECT

public:
    explicit BuyableMakerWindow(Application& app);
    ~BuyableMakerWindow() override;

    const buyable::BuyableDraft& draft() const { return m_draft; }

protected:
    // Downloads dropped on the window are installed, as in the skin editing window.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private slots:
    void onSwitchClicked();
    void onDriveChanged();
    void onDirectoryChanged();
    void onFileClicked();
    void onDefaultDirectoryClicked();
    void onLoadBmpClicked();
    void onLoadCmxClicked();
    void onCloseFileClicked();
    void onExportClicked();
    void onCloseProgramClicked();
    // A close request (close box, Alt+F4, Ctrl+Q) while "Close This Program" is disabled.
    void onCloseRefused();
    void onBrowseClicked();

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

    struct Ui {
        BrowserControls browser;
        QPushButton* defaultDirectoryButton = nullptr;
        QPushButton* loadBmpButton = nullptr;
        QPushButton* closeFileButton = nullptr;

        QGroupBox* viewerFrame = nullptr;
        PictureBox* viewer = nullptr;
        QLabel* bitmapInfo = nullptr;

        QGroupBox* exportFrame = nullptr;
        QRadioButton* formalButton = nullptr;
        QRadioButton* swimwearButton = nullptr;
        QRadioButton* sleepwearButton = nullptr;
        QRadioButton* winterwearButton = nullptr;
        QRadioButton* highFashionButton = nullptr;
        QPushButton* exportButton = nullptr;
        QPushButton* loadCmxButton = nullptr;
        QLineEdit* bitmapNameBox = nullptr;
        QLineEdit* meshNameBox = nullptr;
        QLineEdit* cmxNameBox = nullptr;
        QPushButton* closeProgramButton = nullptr;
        QPushButton* aboutButton = nullptr;

        std::array<QRadioButton*, 5> categoryButtons() const {
            return {formalButton, swimwearButton, sleepwearButton, winterwearButton, highFashionButton};
        }
    };

    Application& m_app;
    Services m_services;
    Ui m_ui;
    std::unique_ptr<Browser> m_browser;
    buyable::BuyableDraft m_draft;
    // The loaded bitmap's bytes as read for the viewer: the export copies exactly these.
    QByteArray m_loadedBitmap;
};

} // namespace vestimo::gui
