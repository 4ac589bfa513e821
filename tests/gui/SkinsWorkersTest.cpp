// The Skins window's workers on their own: the order pictures are drawn in, one painter per thread
// and folder, and the folder read again only when it changed.
#include "gui/skins/SkinsWorkers.h"
#include "support/TempDir.h"

#include <QMutex>
#include <QSemaphore>
#include <QTest>
#include <gtest/gtest.h>

using namespace vestimo;

namespace {

collection::Card cardNamed(const QString& name) {
    collection::Card card;
    card.name = name;
    card.cmxFile = name + ".cmx";
    return card;
}

std::vector<gui::PictureJob> jobsFor(const QStringList& names, const QString& stamp = "1") {
    std::vector<gui::PictureJob> jobs;
    for (const QString& name : names) {
        jobs.push_back({name + ".cmx", stamp, cardNamed(name)});
    }
    return jobs;
}

// Records what was drawn and handed back; the first card drawn waits for `go`.
struct Recorder {
    QMutex mutex;
    QStringList drawn;
    QStringList handed;
    QStringList folders; // one per painter made
    QSemaphore go;
    bool holdFirst = false;

    gui::PainterFactory factory() {
        return [this](const QString& folder) {
            {
                const QMutexLocker lock(&mutex);
                folders.append(folder);
            }
            return gui::CardPainter([this](const collection::Card& card) {
                bool hold = false;
                {
                    const QMutexLocker lock(&mutex);
                    hold = holdFirst && drawn.isEmpty();
                    drawn.append(card.name);
                }
                if (hold) {
                    go.acquire();
                }
                return collection::CardPicture{{}, QStringLiteral("none"), false};
            });
        };
    }
    QStringList handedNow() {
        const QMutexLocker lock(&mutex);
        return handed;
    }
};

} // namespace

TEST(SkinsWorkers, AskingAgainReplacesWhatWaits) {
    Recorder recorder;
    recorder.holdFirst = true;
    gui::PictureWorkers workers(recorder.factory(), 1, [&](gui::PictureWorkers::Done done) {
        const QMutexLocker lock(&recorder.mutex);
        recorder.handed.append(done.key);
    });
    workers.want("/f", 1, jobsFor({"a", "b", "c"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return workers.pending() == 3 && !recorder.folders.isEmpty(); }, 2000));
    workers.want("/f", 1, jobsFor({"d", "a", "b"})); // "a" is being drawn: not asked for twice
    recorder.go.release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.handedNow().size() == 3; }, 2000));
    EXPECT_EQ(recorder.handedNow(), QStringList({"a.cmx", "d.cmx", "b.cmx"}));
    // A picture on its way is not drawn again until the window has taken it.
    workers.want("/f", 1, jobsFor({"d"}));
    QTest::qWait(50);
    EXPECT_EQ(recorder.handedNow().size(), 3);
    workers.received("d.cmx");
    workers.want("/f", 1, jobsFor({"d"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.handedNow().size() == 4; }, 2000));
}

TEST(SkinsWorkers, OnePainterPerThreadAndFolder) {
    Recorder recorder;
    gui::PictureWorkers workers(recorder.factory(), 2, [&](gui::PictureWorkers::Done done) {
        const QMutexLocker lock(&recorder.mutex);
        recorder.handed.append(done.key);
    });
    QStringList many;
    for (int i = 0; i < 40; ++i) {
        many.append(QString::number(i));
    }
    workers.want("/one", 1, jobsFor(many));
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.handedNow().size() == 40; }, 2000));
    workers.want("/two", 2, jobsFor({"x"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.handedNow().size() == 41; }, 2000));
    const QMutexLocker lock(&recorder.mutex);
    EXPECT_LE(recorder.folders.count("/one"), 2);
    EXPECT_EQ(recorder.folders.count("/two"), 1);
}

TEST(SkinsWorkers, TheFolderIsReadAgainOnlyWhenItChanged) {
    test::TempDir skins;
    skins.write("B001FAOne_x.cmx", test::validCmx("B001FAOne_x"));
    QMutex mutex;
    std::vector<gui::CollectionLoader::Read> reads;
    gui::CollectionLoader loader([&](gui::CollectionLoader::Read read) {
        const QMutexLocker lock(&mutex);
        reads.push_back(std::move(read));
    });
    const auto count = [&] {
        const QMutexLocker lock(&mutex);
        return reads.size();
    };
    loader.open(skins.path(), 7);
    ASSERT_TRUE(QTest::qWaitFor([&] { return count() == 2; }, 3000)); // the cards, then every badge
    {
        const QMutexLocker lock(&mutex);
        EXPECT_FALSE(reads[0].collection.complete);
        EXPECT_TRUE(reads[1].collection.complete);
        EXPECT_EQ(reads[1].generation, 7U);
        EXPECT_EQ(reads[1].keys, std::vector<QString>{"B001FAOne_x.cmx"});
    }
    loader.check();
    QTest::qWait(200);
    EXPECT_EQ(count(), 2U);
    skins.write("B002FATwo_x.cmx", test::validCmx("B002FATwo_x"));
    loader.check();
    ASSERT_TRUE(QTest::qWaitFor([&] { return count() == 4; }, 3000));
    const QMutexLocker lock(&mutex);
    EXPECT_EQ(reads[3].keys.size(), 2U);
}
