#pragma once

#include "core/textures/AssociatedFiles.h"
#include "gui/tryon/TryOnBuilder.h"
#include "platform/FileSystem.h"
#include "platform/render/Renderer.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QFileSystemWatcher;
class QLabel;
class QListWidget;
class QPushButton;
class QThread;
class QTimer;

namespace vestimo::gui {

class MessageBoxes;

// The request for `skin` of `folder`.
// The CMX files of a folder, any one of which may claim a bitmap. The windows ask at every
// selection, so the folder is listed again only when it or its identity (its modification time
// changes as files come and go) is another.
class FolderCmxFiles {
public:
    const QStringList& in(const QString& folder);

private:
    QString folder_;
    std::optional<platform::FileIdentity> identity_;
    QStringList names_;
};

tryon::TryOnRequest tryOnRequest(const QString& folder, const textures::SkinToTry& skin);

// The picture: the scene drawn at the widget's size, turned by dragging, zoomed by the wheel,
// back to the start by a double-click. A note (why nothing or only part is drawn) shows over it.
class TryOnView : public QWidget {
    Q_OBJECT

public:
    explicit TryOnView(QWidget* parent);

    void setScene(std::vector<platform::render::SceneMesh> meshes);
    void setNote(const QString& note);
    const QString& note() const { return note_; }
    const platform::render::RenderView& view() const { return view_; }
    // What is shown, without the note.
    const QImage& picture() const { return renderer_.picture(); }
    void reset();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void redraw();

    platform::render::Renderer renderer_;
    std::vector<platform::render::SceneMesh> meshes_;
    platform::render::RenderView view_;
    platform::render::RenderError error_ = platform::render::RenderError::None;
    QString note_;
    std::optional<QPoint> dragFrom_;
};

// The window "Try It On" opens: the view, the tones and textures of the skin, the head, the files
// shown. It follows the files on disk: a texture saved from a paint program is drawn anew.
class TryOnWindow : public QWidget {
    Q_OBJECT

public:
    TryOnWindow(tryon::TryOnRequest request, TryOnBuilder builder, MessageBoxes& messages, QWidget* owner);
    ~TryOnWindow() override;
    TryOnWindow(const TryOnWindow&) = delete;
    TryOnWindow& operator=(const TryOnWindow&) = delete;

    const tryon::TryOnRequest& request() const { return request_; }
    // Puts this request on the Sim (another skin, tone, texture or head).
    void showRequest(tryon::TryOnRequest request);
    // The same skin wearing the bitmap at `path`; nothing when it wears it already.
    void showTexture(const QString& path);

    // Asks where to save the picture, suggesting a name; empty when the player chose nothing.
    using SaveChooser = std::function<QString(QWidget* parent, const QString& suggested)>;
    void setSaveChooser(SaveChooser chooser) { chooseSave_ = std::move(chooser); }

signals:
    // A scene was built and is shown.
    void sceneShown();

private:
    struct Ui;
    struct Build;

    void build();
    // Builds the scene on a worker: always when `force`, else only when a shown file changed.
    void startBuild(bool force);
    void onBuilt(const Build& done);
    void showScene(const tryon::TryOnScene& scene);
    void watchFolders(const QStringList& files);
    void onToneClicked(const QString& tone);
    void onHeadChosen(int index);
    void onSaveClicked();

    std::unique_ptr<Ui> ui_;
    tryon::TryOnRequest request_;
    TryOnBuilder builder_;
    MessageBoxes& messages_;
    SaveChooser chooseSave_;
    QThread* worker_ = nullptr;
    bool pending_ = false; // another build was asked for while one ran
    bool pendingForce_ = false;
    QStringList shownFiles_;
    std::vector<std::optional<platform::FileIdentity>> stamps_; // of shownFiles_, when last built
    QFileSystemWatcher* watcher_ = nullptr;
    QTimer* settle_ = nullptr; // a folder's change, once the writing has settled
    QTimer* poll_ = nullptr;   // in-place writes raise no folder change
};

// Opens the window for `request` with `owner` over it, or turns the one `open` to it.
TryOnWindow* showTryOn(QPointer<TryOnWindow>& open, QWidget* owner, const tryon::TryOnRequest& request,
                       const TryOnBuilder& builder, MessageBoxes& messages,
                       const std::function<void(QWidget*)>& showWindow);

} // namespace vestimo::gui
