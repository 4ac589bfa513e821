#include "gui/skins/SkinsWorkers.h"

#include "core/collection/CollectionReader.h"

#include <algorithm>
#include <utility>

namespace vestimo::gui {

QString cardKey(const collection::Card& card) {
    return card.files().value(0);
}

QString cardStamp(const collection::Card& card) {
    return card.files().join(QLatin1Char('/')) + QLatin1Char('@') + QString::number(card.newestNs);
}

CollectionLoader::CollectionLoader(Deliver deliver) : deliver_(std::move(deliver)) {
    thread_ = std::thread([this] { run(); });
}

CollectionLoader::~CollectionLoader() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void CollectionLoader::open(const QString& folder, quint64 generation) {
    {
        const std::lock_guard lock(mutex_);
        folder_ = folder;
        generation_ = generation;
        openWanted_ = true;
    }
    wake_.notify_all();
}

void CollectionLoader::check() {
    {
        const std::lock_guard lock(mutex_);
        checkWanted_ = true;
    }
    wake_.notify_all();
}

void CollectionLoader::post(std::function<void()> task) {
    {
        const std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    wake_.notify_all();
}

void CollectionLoader::run() {
    std::unique_ptr<collection::CollectionReader> reader;
    quint64 generation = 0;
    // True when a newer folder was asked for meanwhile: the rest of this read is of no use.
    const auto superseded = [this, &generation] {
        const std::lock_guard lock(mutex_);
        return stop_ || (openWanted_ && generation_ != generation);
    };
    for (;;) {
        bool reread = false;
        std::function<void()> task;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stop_ || openWanted_ || checkWanted_ || !tasks_.empty(); });
            if (stop_) {
                return;
            }
            if (!tasks_.empty()) {
                task = std::move(tasks_.front());
                tasks_.pop_front();
            } else if (openWanted_) {
                reader = std::make_unique<collection::CollectionReader>(folder_);
                generation = generation_;
                openWanted_ = false;
                checkWanted_ = false;
                reread = true;
            } else {
                checkWanted_ = false;
                reread = reader != nullptr;
            }
        }
        if (task) {
            task();
            continue;
        }
        if (!reread || !reader->changed()) {
            continue;
        }
        hand(generation, reader->cards());
        if (!superseded()) {
            hand(generation, reader->judged());
        }
    }
}

void CollectionLoader::hand(quint64 generation, collection::Collection collection) {
    Read read{generation, std::move(collection), {}, {}};
    read.keys.reserve(read.collection.cards.size());
    read.stamps.reserve(static_cast<qsizetype>(read.collection.cards.size()));
    for (const collection::Card& card : read.collection.cards) {
        read.keys.push_back(cardKey(card));
        read.stamps.insert(read.keys.back(), cardStamp(card));
    }
    deliver_(std::move(read));
}

PictureWorkers::PictureWorkers(PainterFactory factory, int threads, Deliver deliver)
    : factory_(std::move(factory)), deliver_(std::move(deliver)) {
    for (int i = 0; i < std::max(1, threads); ++i) {
        threads_.emplace_back([this] { run(); });
    }
}

PictureWorkers::~PictureWorkers() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
        jobs_.clear();
    }
    wake_.notify_all();
    for (std::thread& thread : threads_) {
        thread.join();
    }
}

void PictureWorkers::want(const QString& folder, quint64 generation, std::vector<PictureJob> jobs) {
    {
        const std::lock_guard lock(mutex_);
        if (generation != generation_) {
            drawing_.clear();
            posted_.clear();
        }
        folder_ = folder;
        generation_ = generation;
        jobs_.clear();
        for (PictureJob& job : jobs) {
            const auto posted = posted_.constFind(job.key);
            if (!drawing_.contains(job.key) && (posted == posted_.cend() || *posted != job.stamp)) {
                jobs_.push_back(std::move(job));
            }
        }
    }
    wake_.notify_all();
}

void PictureWorkers::received(const QString& key) {
    const std::lock_guard lock(mutex_);
    posted_.remove(key);
}

qsizetype PictureWorkers::pending() {
    const std::lock_guard lock(mutex_);
    return static_cast<qsizetype>(jobs_.size()) + drawing_.size();
}

void PictureWorkers::run() {
    CardPainter painter;
    quint64 painterGeneration = 0;
    for (;;) {
        PictureJob job;
        QString folder;
        quint64 generation = 0;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stop_ || !jobs_.empty(); });
            if (stop_) {
                return;
            }
            job = std::move(jobs_.front());
            jobs_.pop_front();
            drawing_.insert(job.key);
            folder = folder_;
            generation = generation_;
        }
        // One painter per thread and folder: it keeps what it read for the next card.
        if (!painter || painterGeneration != generation) {
            painter = factory_(folder);
            painterGeneration = generation;
        }
        const collection::CardPicture picture = painter(job.card);
        Done done{generation, job.key, job.stamp, QImage(), picture.failure};
        if (!picture.png.isEmpty() && !done.image.loadFromData(picture.png, "PNG")) {
            done.image = QImage();
        }
        {
            const std::lock_guard lock(mutex_);
            if (stop_ || generation != generation_) {
                continue;
            }
            drawing_.remove(job.key);
            posted_.insert(job.key, job.stamp);
        }
        deliver_(std::move(done));
    }
}

} // namespace vestimo::gui
