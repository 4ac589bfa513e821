#pragma once

#include "core/editor/SkinEditState.h"
#include "gui/app/Services.h"
#include "gui/skins/SkinsWindow.h"
#include "gui/tryon/TryOnWindow.h"

#include <QPointer>
#include <QWidget>

#include <memory>

namespace vestimo::gui {

class Application;
} // namespace vestimo::gui

namespace vestimo::checks {
struct DirectoryCheck;
} // namespace vestimo::checks

namespace vestimo::gui {

// The skin editing window: browser, bitmap viewer, CMX editor and the checks. What it is doing
// lives in one SkinEditState; the controls only show it.
class SkinEditWindow : public QWidget {
    Q_OBJECT

public:
    explicit SkinEditWindow(Application& app);
    ~SkinEditWindow() override;

    const editor::SkinEditState& state() const { return state_; }
    // Before closing the open file or the program: true when the editor holds no unsaved edits,
    // or the player saved them (and the save went through) or chose to discard them.
    bool settleEdits();

private:
    struct Ui;

    void build();
    void connectControls();
    // Shows state_: the name box, the browser's lock and the close button.
    void render();
    // Locks or frees the browser (lists and filter buttons).
    void setUserInteractionLock(bool locked);
    // Takes `next` as the state, showing its message first when it has one.
    void apply(const editor::Transition& next);
    // Shows `refusal` and returns true when there is one.
    bool refused(const QString& refusal);

    // The viewer shows the selected bitmap, or nothing; the state follows it.
    void showSelectedBitmap();
    void clearViewer(const QString& note = {});
    void openSelectedCmx();
    bool writeEditorText();

    void onDirectoryChanged(const QString& folder);
    void onSelectionChanged(const QString& fileName);
    void onPatternChanged(const QString& pattern);
    void onNameBoxChanged(const QString& text);
    void onFileClicked();
    void onFilterChosen(FileFilter filter);
    void runCheck(const checks::DirectoryCheck& check);
    void onCloseFileClicked();
    void onMoveFileClicked();
    void onCheckBmpClicked();
    void onFitBmpClicked();
    // "Make It Fit" may be pressed only for a shown bitmap worth fitting.
    void updateFitButton();
    void onSkinReportClicked();
    // "Try It On" may be pressed for a bitmap of a skin or an open CMX file; the window open for
    // the same skin follows the selected bitmap.
    void updateTryOn();
    void onTryOnClicked();
    // "Browse Skins...": the cards of the folder shown.
    void onSkinsClicked();
    // A card chosen in the Skins window: its bitmap selected here, the list showing bitmaps.
    void selectFromSkins(const QString& folder, const QString& bitmap);
    void onDeleteBmpClicked();
    void onSaveCmxClicked();
    // "Save CMX Changes": true when the file was written and closed.
    bool saveOpenFile();
    void onCheckCmxClicked();
    void onCloseProgramClicked();
    void onHistoryClicked();
    void onInstallClicked();
    void onTextChanged();
    void showLiveCheck();
    // Downloads dropped on the window are installed, as "Install Skins from Download..." does.
    void onDownloadsDropped(const QStringList& paths);
    // The window title and the path line: where the browser is.
    void showWhere();

    Application& app_;
    Services services_;
    std::unique_ptr<Ui> ui_;
    editor::SkinEditState state_;
    // The open file's text as read, to tell whether the editor's text still matches it.
    QString loadedText_;
    QPointer<TryOnWindow> tryOn_;
    QPointer<SkinsWindow> skins_;
    FolderCmxFiles cmxFiles_;
};

} // namespace vestimo::gui
