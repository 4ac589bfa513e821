#include "cli/Commands.h"

#include "cli/CommandLine.h"

#include "core/catalogue/CommandLine.h"
#include "core/catalogue/FileErrors.h"
#include "core/catalogue/SkinsCommand.h"
#include "core/catalogue/TryOn.h"
#include "core/collection/CardPictures.h"
#include "core/collection/CollectionReader.h"
#include "core/collection/CollectionView.h"
#include "core/games/Discovery.h"
#include "platform/FileSystem.h"
#include "platform/cache/PictureCache.h"
#include "platform/render/ContactSheet.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace vestimo::cli {

namespace {

using collection::Card;
using collection::Collection;

struct SkinsOptions {
    QCommandLineOption problems{QStringLiteral("problems"), texts::optionProblems()};
    QCommandLineOption sheet{QStringLiteral("sheet"), texts::optionSheet(), QStringLiteral("OUTPUT.png")};
    QCommandLineOption json = jsonOption();
};

// The cards the listing shows, in the view's order.
std::vector<qsizetype> shownCards(const Collection& collection, bool problemsOnly) {
    collection::ViewState state;
    state.problemsOnly = problemsOnly;
    return collection::visibleCards(collection, state);
}

QJsonObject cardJson(const Collection& collection, const Card& card) {
    QJsonArray problems;
    for (const qsizetype index : card.problems) {
        const collection::Problem& problem = collection.problems[static_cast<std::size_t>(index)];
        problems.append(QJsonObject{{QStringLiteral("badge"), collection::badgeText(problem.kind)},
                                    {QStringLiteral("reason"), problem.reason},
                                    {QStringLiteral("files"), QJsonArray::fromStringList(problem.files)}});
    }
    return {{QStringLiteral("name"), card.name},
            {QStringLiteral("kind"), collection::kindText(card.kind)},
            {QStringLiteral("cmx"), card.cmxFile},
            {QStringLiteral("textures"), QJsonArray::fromStringList(card.textures)},
            {QStringLiteral("meshes"), QJsonArray::fromStringList(card.meshes)},
            {QStringLiteral("tonesPresent"), QJsonArray::fromStringList(card.tonesPresent)},
            {QStringLiteral("tonesMissing"), QJsonArray::fromStringList(card.tonesMissing)},
            {QStringLiteral("problems"), problems}};
}

void listCards(const Collection& collection, const std::vector<qsizetype>& shown, const QString& folder,
               bool json, Output& out) {
    const int status = collection.problems.empty() ? Clean : Found;
    if (json) {
        QJsonArray skins;
        for (const qsizetype index : shown) {
            skins.append(cardJson(collection, collection.cards[static_cast<std::size_t>(index)]));
        }
        out.json({{QStringLiteral("command"), QStringLiteral("skins")},
                  {QStringLiteral("exitStatus"), status},
                  {QStringLiteral("folder"), folder},
                  {QStringLiteral("skins"), skins},
                  {QStringLiteral("problems"), static_cast<qint64>(collection.problems.size())}});
        return;
    }
    for (const qsizetype index : shown) {
        const Card& card = collection.cards[static_cast<std::size_t>(index)];
        out.line(texts::skinLine(card.name, collection::kindText(card.kind)));
        out.line(texts::skinFilesLine(card.files()));
        if (!card.tonesPresent.isEmpty() || !card.tonesMissing.isEmpty()) {
            out.line(texts::skinTonesLine(card.tonesPresent, card.tonesMissing));
        }
        for (const qsizetype problem : card.problems) {
            const collection::Problem& p = collection.problems[static_cast<std::size_t>(problem)];
            out.line(texts::skinProblemLine(collection::badgeText(p.kind), p.reason));
        }
    }
    const collection::ViewCounts counts = collection::viewCounts(collection, shown);
    out.line(texts::skinsCounts(counts.shown, counts.problems));
}

// Every shown card's picture, drawn on every core, each worker with its own CardPictures (which
// remembers the skeleton and the completing pieces); the cache is shared.
std::vector<collection::CardPicture> drawPictures(const Collection& collection,
                                                  const std::vector<qsizetype>& shown, const QString& folder,
                                                  int side) {
    const std::vector<core::games::GameInstall> games = core::games::discoverGames(
        {qEnvironmentVariable("HOME", QDir::homePath()), qEnvironmentVariable("WINEPREFIX")});
    const tryon::TryOnPlaces places = tryon::placesFor(folder, games);
    platform::PictureCache cache(platform::PictureCache::defaultFolder());
    std::vector<collection::CardPicture> pictures(shown.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        collection::CardPictures drawer(folder, places, &cache, QSize(side, side));
        for (std::size_t i = next++; i < shown.size(); i = next++) {
            pictures[i] = drawer.picture(collection.cards[static_cast<std::size_t>(shown[i])]);
        }
    };
    const std::size_t workers = std::max<std::size_t>(
        1, std::min<std::size_t>(static_cast<std::size_t>(QThread::idealThreadCount()), shown.size()));
    std::vector<std::thread> threads;
    for (std::size_t i = 1; i < workers; ++i) {
        threads.emplace_back(work);
    }
    work();
    for (std::thread& thread : threads) {
        thread.join();
    }
    return pictures;
}

int writeSheet(const Collection& collection, const std::vector<qsizetype>& shown, const QString& folder,
               const QString& output, bool json, Output& out) {
    constexpr int PictureSide = 128;
    const int side = platform::render::sheetLayout(static_cast<qsizetype>(shown.size()), PictureSide).side;
    const std::vector<collection::CardPicture> pictures =
        drawPictures(collection, shown, folder, std::max(side, 1));
    std::vector<platform::render::SheetPicture> cells;
    QJsonArray notDrawn;
    QStringList notDrawnLines;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const Card& card = collection.cards[static_cast<std::size_t>(shown[i])];
        cells.push_back({pictures[i].png, card.name});
        if (pictures[i].png.isEmpty()) {
            notDrawn.append(QJsonObject{{QStringLiteral("name"), card.name},
                                        {QStringLiteral("why"), pictures[i].failure}});
            notDrawnLines.append(texts::sheetNotDrawnLine(card.name, pictures[i].failure));
        }
    }
    const QByteArray png = platform::render::contactSheet(cells, PictureSide);
    if (!writePicture(output, png, out)) {
        return out.finish(Stopped);
    }
    if (json) {
        out.json({{QStringLiteral("command"), QStringLiteral("skins")},
                  {QStringLiteral("exitStatus"), Clean},
                  {QStringLiteral("output"), output},
                  {QStringLiteral("pictures"), static_cast<qint64>(shown.size())},
                  {QStringLiteral("notDrawn"), notDrawn}});
    } else {
        out.line(texts::renderWroteLine(output));
        out.lines(notDrawnLines);
        out.line(texts::sheetCounts(static_cast<qsizetype>(shown.size()), notDrawnLines.size()));
    }
    return out.finish(Clean);
}

} // namespace

int runSkins(const QStringList& arguments, Output& out) {
    const Usage usage{texts::usageSkins(), texts::helpSkins()};
    QCommandLineParser parser;
    const SkinsOptions o;
    parser.addOptions({o.problems, o.sheet, o.json});
    if (const auto ended = parse(parser, arguments, usage, out)) {
        return *ended;
    }
    const std::variant<QString, int> given = oneSkinFolder(parser, usage, out);
    if (const int* ended = std::get_if<int>(&given)) {
        return *ended;
    }
    const QString folder = QDir::cleanPath(QFileInfo(std::get<QString>(given)).absoluteFilePath());
    collection::CollectionReader reader(folder);
    const Collection collection = reader.judged();
    if (!collection.ok) {
        out.error(texts::cannotRead(folder, collection.error));
        return out.finish(Stopped);
    }
    const std::vector<qsizetype> shown = shownCards(collection, parser.isSet(o.problems));
    if (parser.isSet(o.sheet)) {
        return writeSheet(collection, shown, folder, QFileInfo(parser.value(o.sheet)).absoluteFilePath(),
                          parser.isSet(o.json), out);
    }
    listCards(collection, shown, folder, parser.isSet(o.json), out);
    return out.finish(collection.problems.empty() ? Clean : Found);
}

bool wantsPictureText(const QStringList& arguments) {
    if (arguments.value(1) != QStringLiteral("skins")) {
        return false;
    }
    return std::any_of(arguments.begin() + 2, arguments.end(), [](const QString& argument) {
        return argument == QStringLiteral("--sheet") || argument.startsWith(QStringLiteral("--sheet="));
    });
}

} // namespace vestimo::cli
