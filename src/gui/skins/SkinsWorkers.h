#pragma once

#include "core/collection/CardPictures.h"
#include "core/collection/Collection.h"

#include <QHash>
#include <QImage>
#include <QSet>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// The Skins window's work off its own thread: reading the folder's collection, and drawing the
// cards' pictures. Both hand their results to a callback that runs on the worker; the window posts
// them to its own thread from there.
namespace vestimo::gui {

// A card's identity across readings of its folder: the name of its first file.
QString cardKey(const collection::Card& card);
// What its picture was drawn from: a changed stamp means the picture is old.
QString cardStamp(const collection::Card& card);

// One thread that reads a folder's collection in its two steps, reads it again when asked and the
// folder changed, and runs the odd task that touches the disk (the picture cache's upkeep).
class CollectionLoader {
public:
    struct Read {
        quint64 generation = 0;
        collection::Collection collection;
        // Worked out here, so the window's thread need not: each card's key, in the cards'
        // order, and its stamp by key.
        std::vector<QString> keys;
        QHash<QString, QString> stamps;
    };
    using Deliver = std::function<void(Read read)>;

    explicit CollectionLoader(Deliver deliver);
    ~CollectionLoader();
    CollectionLoader(const CollectionLoader&) = delete;
    CollectionLoader& operator=(const CollectionLoader&) = delete;

    // Reads `folder` afresh; a read of an earlier folder still going is told apart by its generation.
    void open(const QString& folder, quint64 generation);
    // Reads again when the folder or one of its files changed since the last read.
    void check();
    void post(std::function<void()> task);

private:
    void run();
    void hand(quint64 generation, collection::Collection collection);

    Deliver deliver_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    bool openWanted_ = false;
    bool checkWanted_ = false;
    QString folder_;
    quint64 generation_ = 0;
    std::deque<std::function<void()>> tasks_;
    std::thread thread_;
};

// Draws one card's picture; made once per worker thread and folder.
using CardPainter = std::function<collection::CardPicture(const collection::Card& card)>;
using PainterFactory = std::function<CardPainter(const QString& folder)>;

// A card whose picture is wanted: its identity (its first file's name) and the stamp of its files
// when asked, so a picture of files since changed is told apart.
struct PictureJob {
    QString key;
    QString stamp;
    collection::Card card;
};

// Threads that draw pictures in the order they were last asked for; asking again replaces the
// order, so the cards in view always go first.
class PictureWorkers {
public:
    struct Done {
        quint64 generation = 0;
        QString key;
        QString stamp;
        QImage image; // null when the card could not be drawn
        QString failure;
    };
    using Deliver = std::function<void(Done done)>;

    PictureWorkers(PainterFactory factory, int threads, Deliver deliver);
    ~PictureWorkers();
    PictureWorkers(const PictureWorkers&) = delete;
    PictureWorkers& operator=(const PictureWorkers&) = delete;

    // Replaces what is waiting with `jobs` for `folder`; a new generation drops every painter of
    // the folder before. Cards being drawn now are not asked for twice.
    void want(const QString& folder, quint64 generation, std::vector<PictureJob> jobs);
    // The window has taken the picture of `key`: it may be asked for again (once dropped from memory).
    void received(const QString& key);
    // How many cards are waiting or being drawn.
    qsizetype pending();

private:
    void run();

    PainterFactory factory_;
    Deliver deliver_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    QString folder_;
    quint64 generation_ = 0;
    std::deque<PictureJob> jobs_;
    QSet<QString> drawing_;
    // Pictures on their way to the window, by key, with the stamp they were drawn at.
    QHash<QString, QString> posted_;
    std::vector<std::thread> threads_;
};

} // namespace vestimo::gui
