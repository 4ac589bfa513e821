#include "gui/app/BackgroundRun.h"

#include "core/catalogue/Windows.h"
#include "core/journal/Journal.h"

#include <QApplication>
#include <QFileInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <limits>

namespace vestimo::gui {

namespace {

// Often enough to look smooth; a queued call per file would cost more than judging most files.
constexpr qint64 ShowIntervalMs = 30;

const QString CancelName = QStringLiteral("cmdCancel");

// The runs going on, on the window's thread only.
QList<BackgroundRun*>& runs() {
    static QList<BackgroundRun*> going;
    return going;
}

int barValue(qint64 value) {
    return static_cast<int>(std::clamp<qint64>(value, 0, std::numeric_limits<int>::max()));
}

} // namespace

BackgroundRun* BackgroundRun::start(QWidget* window, QProgressBar* bar, Work work, Finished finished) {
    if (window != nullptr && of(window) != nullptr) {
        return nullptr;
    }
    return new BackgroundRun(window, bar, std::move(work), std::move(finished));
}

BackgroundRun* BackgroundRun::of(const QWidget* window) {
    const QList<BackgroundRun*>& going = runs();
    const auto found = std::find_if(going.begin(), going.end(), [window](const BackgroundRun* run) {
        return run->window_ == window && !run->over_;
    });
    return found == going.end() ? nullptr : *found;
}

int BackgroundRun::running() {
    return static_cast<int>(runs().size());
}

BackgroundRun::BackgroundRun(QWidget* window, QProgressBar* bar, Work work, Finished finished)
    : QObject(window), window_(window), bar_(bar), work_(std::move(work)), finished_(std::move(finished)) {
    runs().append(this);
    hold();
    thread_ = QThread::create([this] { work_(*this); });
    connect(thread_, &QThread::finished, this, &BackgroundRun::onWorkEnded);
    thread_->start();
}

BackgroundRun::~BackgroundRun() {
    runs().removeOne(this);
    if (thread_ != nullptr) {
        // Only when the window goes first: the work stops after the file in hand.
        stop_ = true;
        thread_->wait();
        delete thread_;
    }
    if (!over_) {
        release();
    }
}

void BackgroundRun::cancel(std::function<void()> then) {
    stop_ = true;
    if (then) {
        then_ = std::move(then);
    }
}

void BackgroundRun::hold() {
    QPushButton* cancel = window_ ? window_->findChild<QPushButton*>(CancelName) : nullptr;
    const auto spared = [&](const QWidget* widget) {
        for (const QWidget* kept :
             {static_cast<const QWidget*>(cancel), static_cast<const QWidget*>(bar_.data())}) {
            if (kept != nullptr && (widget == kept || widget->isAncestorOf(kept))) {
                return true;
            }
        }
        return widget->focusPolicy() == Qt::NoFocus || widget->testAttribute(Qt::WA_ForceDisabled);
    };
    if (window_) {
        focus_ = window_->focusWidget();
        // Focus goes first, so that no control takes it (a list would pick its first file) as the
        // others are disabled.
        if (cancel != nullptr) {
            cancel->setVisible(true);
            connect(cancel, &QPushButton::clicked, this, [this] { this->cancel(); });
            cancel->setFocus();
        } else if (focus_ != nullptr) {
            focus_->clearFocus();
        }
        for (QWidget* control : window_->findChildren<QWidget*>()) {
            if (!spared(control)) {
                held_.append(control);
                control->setEnabled(false);
            }
        }
        acceptedDrops_ = window_->acceptDrops();
        window_->setAcceptDrops(false);
    }
    // History and the reports wait too: nothing else may change the folders meanwhile.
    for (QWidget* other : QApplication::topLevelWidgets()) {
        if (other != window_ && other->isVisible() && !other->testAttribute(Qt::WA_ForceDisabled)) {
            held_.append(other);
            other->setEnabled(false);
        }
    }
}

void BackgroundRun::release() {
    for (const QPointer<QWidget>& control : std::as_const(held_)) {
        if (control) {
            control->setEnabled(true);
        }
    }
    held_.clear();
    if (!window_) {
        return;
    }
    window_->setAcceptDrops(acceptedDrops_);
    if (auto* cancel = window_->findChild<QPushButton*>(CancelName)) {
        disconnect(cancel, nullptr, this, nullptr);
        cancel->setVisible(false);
    }
    if (focus_ && focus_->isEnabled()) {
        focus_->setFocus();
    }
}

void BackgroundRun::onWorkEnded() {
    over_ = true;
    runs().removeOne(this);
    release();
    if (finished_) {
        finished_(stop_.load());
    }
    emit ended();
    if (then_) {
        then_();
    }
    deleteLater();
}

void BackgroundRun::startProgress(qint64 maximum) {
    sinceShown_.start();
    QMetaObject::invokeMethod(
        this, [this, maximum] { showStart(maximum); }, Qt::QueuedConnection);
}

void BackgroundRun::progress(qint64 value, bool now) {
    if (!now && sinceShown_.isValid() && sinceShown_.elapsed() < ShowIntervalMs) {
        return;
    }
    sinceShown_.start();
    QMetaObject::invokeMethod(
        this, [this, value] { show(value); }, Qt::QueuedConnection);
}

void BackgroundRun::showStart(qint64 maximum) {
    if (!bar_) {
        return;
    }
    // An unknown total starts the bar at a hundred and moves its end on as the count nears it.
    growing_ = maximum == 0;
    bar_->setRange(0, growing_ ? 100 : barValue(maximum));
    bar_->setValue(0);
    bar_->setVisible(true);
}

void BackgroundRun::show(qint64 value) {
    if (!bar_) {
        return;
    }
    if (growing_) {
        const int shown = static_cast<int>(std::min<qint64>(value, std::numeric_limits<int>::max() / 2));
        if (shown >= bar_->maximum()) {
            bar_->setMaximum(shown * 2);
        }
        bar_->setValue(shown);
        return;
    }
    bar_->setValue(std::min(barValue(value), bar_->maximum()));
}

QPushButton* makeCancelButton(QWidget* parent) {
    auto* cancel = new QPushButton(texts::cancelButton(), parent);
    cancel->setObjectName(CancelName);
    cancel->setShortcut(QKeySequence(Qt::Key_Escape));
    cancel->setVisible(false);
    return cancel;
}

QString journalFolderOf(journal::Journal* windowJournal, const QString& programDirectory) {
    if (windowJournal == nullptr) {
        return {};
    }
    const QString path = windowJournal->store().path();
    return path.isEmpty() ? programDirectory : QFileInfo(path).absolutePath();
}

std::unique_ptr<journal::Journal> openRunJournal(const QString& folder) {
    if (folder.isEmpty()) {
        return nullptr;
    }
    auto journal = std::make_unique<journal::Journal>();
    // A failed opening is noted by the journal and told with the run's details.
    journal->open(folder);
    return journal;
}

} // namespace vestimo::gui
