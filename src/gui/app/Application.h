#pragma once

#include "core/games/GameFolders.h"

#include "gui/app/MessageBoxes.h"
#include "gui/app/Services.h"
#include "gui/skins/SkinsWindow.h"
#include "gui/tryon/TryOnBuilder.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace vestimo::gui {

class BuyableMakerWindow;
class HistoryWindow;
class InstallCommand;
class SkinEditWindow;
struct FitPreview;

// The program's windows and their lifecycle: the skin editing window at start, the buyable skin
// maker made at the first switch, History when asked for, and the only way out, "Close This
// Program". Both main windows share one size and place, remembered between runs. The journal of
// every change lives in the program folder, opened once here; intentions a crash left open are
// settled at the start.
class Application {
public:
    // `quit` ends the program (the event loop in the real program, a recorder in tests).
    Application(MessageBoxes& messages, QString programDirectory, std::function<void()> quit);
    ~Application();

    // Creates and shows the skin editing window.
    void start();

    SkinEditWindow* skinEdit() const { return skinEdit_.get(); }
    // Null until the first switch.
    BuyableMakerWindow* buyable() const { return buyable_.get(); }

    MessageBoxes& messages() const { return messages_; }
    const QString& programDirectory() const { return programDirectory_; }
    // What every window's commands are handed.
    Services services() const;
    journal::Journal& journal() const { return *journal_; }

    // Opens (or brings up, read afresh) the History window, centred on the window in use.
    void showHistory();
    // Null until History is first opened.
    HistoryWindow* history() const { return history_.get(); }

    void switchToBuyable();
    void switchToSkinEdit();
    // Deletes the scratch listing if this copy wrote it and it is unchanged, and ends the program at
    // once, unsaved edits and all.
    void closeProgram();
    // "Close This Program": asks first when the editor holds unsaved edits (Save, Discard or
    // Cancel; Cancel, or a save that fails, keeps everything), then closeProgram().
    void closeProgramAsked();

    // "Install Skins from Download...", for both windows (and for drops on them).
    InstallCommand& installCommand() const { return *installCommand_; }

    // The About box.
    void showAbout();

    // Asks the user for a folder, starting at `start`; empty when none was chosen.
    using DirectoryChooser = std::function<QString(QWidget* parent, const QString& start)>;
    QString chooseDirectory(QWidget* parent, const QString& start) const;
    // Tests answer for the desktop's folder dialog.
    void setDirectoryChooser(DirectoryChooser chooser) { chooser_ = std::move(chooser); }

    // Shows a texture made to fit beside the original and asks whether to keep it; true for Yes.
    using FitConfirmer = std::function<bool(QWidget* parent, const FitPreview& preview)>;
    bool confirmFit(QWidget* parent, const FitPreview& preview) const;
    // Tests answer for the preview dialog.
    void setFitConfirmer(FitConfirmer confirmer) { fitConfirmer_ = std::move(confirmer); }

    // Shows a window a command made, such as the skin-set report, beside the program's own.
    using WindowShower = std::function<void(QWidget* window)>;
    void showWindow(QWidget* window) const;
    // Tests take the window instead of having it shown.
    void setWindowShower(WindowShower shower) { windowShower_ = std::move(shower); }

    // What "Try It On" puts on the Sim with: the program's own builder over the installs found.
    TryOnBuilder tryOnBuilder() const;
    // Tests build their own scenes.
    void setTryOnBuilder(TryOnBuilder builder) { tryOnBuilder_ = std::move(builder); }

    // What the Skins window draws its pictures with, where it caches them, how it opens folders.
    SkinsSetup skinsSetup() const;
    // Tests draw their own pictures into a cache of their own.
    void setSkinsSetup(SkinsSetup setup) { skinsSetup_ = std::move(setup); }

private:
    MessageBoxes& messages_;
    QString programDirectory_;
    std::function<void()> quit_;
    std::unique_ptr<journal::Journal> journal_;
    std::vector<core::games::GameFolder> gameFolders_;
    std::vector<core::games::GameInstall> installs_;
    DirectoryChooser chooser_;
    FitConfirmer fitConfirmer_;
    WindowShower windowShower_;
    TryOnBuilder tryOnBuilder_;
    std::optional<SkinsSetup> skinsSetup_;
    std::unique_ptr<SkinEditWindow> skinEdit_;
    std::unique_ptr<BuyableMakerWindow> buyable_;
    std::unique_ptr<HistoryWindow> history_;
    std::unique_ptr<InstallCommand> installCommand_;
};

} // namespace vestimo::gui
