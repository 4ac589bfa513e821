#include "cli/Commands.h"

#include "core/catalogue/CommandLine.h"
#include "core/catalogue/FileErrors.h"
#include "core/catalogue/PlatformErrors.h"
#include "core/catalogue/TryOn.h"
#include "core/games/Discovery.h"
#include "core/tryon/TryOn.h"
#include "platform/FileSystem.h"
#include "platform/render/Renderer.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>

#include <cmath>

namespace vestimo::cli {

namespace {

QJsonArray point(sim::Vec3 v) {
    return {double(v.x), double(v.y), double(v.z)};
}

QJsonObject meshJson(const tryon::TryOnPiece& piece) {
    const sim::BoundingBox box = sim::boundingBox(piece.mesh);
    return {{QStringLiteral("file"), piece.meshFile},
            {QStringLiteral("cmx"), piece.cmxFile},
            {QStringLiteral("texture"), piece.textureFile},
            {QStringLiteral("vertices"), static_cast<qint64>(piece.mesh.vertexCount())},
            {QStringLiteral("boundingBox"),
             QJsonObject{{QStringLiteral("min"), point(box.min)}, {QStringLiteral("max"), point(box.max)}}}};
}

// "WIDTHxHEIGHT", each side within what the renderer draws.
std::optional<std::pair<int, int>> parseSize(const QString& text) {
    const QStringList sides = text.toLower().split(u'x');
    if (sides.size() != 2) {
        return std::nullopt;
    }
    bool wideOk = false;
    bool highOk = false;
    const int width = sides[0].toInt(&wideOk);
    const int height = sides[1].toInt(&highOk);
    if (!wideOk || !highOk || width < 1 || height < 1 || width > platform::render::MaxPictureSide ||
        height > platform::render::MaxPictureSide) {
        return std::nullopt;
    }
    return std::make_pair(width, height);
}

struct RenderOptions {
    QCommandLineOption tone{QStringLiteral("tone"), texts::optionTone(), QStringLiteral("TONE")};
    QCommandLineOption texture{QStringLiteral("texture"), texts::optionTexture(), QStringLiteral("FILE")};
    QCommandLineOption with{QStringLiteral("with"), texts::optionWith(), QStringLiteral("CMX_FILE")};
    QCommandLineOption alone{QStringLiteral("alone"), texts::optionAlone()};
    QCommandLineOption size{QStringLiteral("size"), texts::optionSize(), QStringLiteral("WxH")};
    QCommandLineOption turn{QStringLiteral("turn"), texts::optionTurn(), QStringLiteral("DEGREES")};
    QCommandLineOption json = jsonOption();
};

// The request and the view the options ask for; nothing with the usage error printed otherwise.
std::optional<int> readOptions(const QCommandLineParser& parser, const RenderOptions& o, const Usage& usage,
                               Output& out, tryon::TryOnRequest& request,
                               platform::render::RenderView& view) {
    const QStringList given = parser.positionalArguments();
    if (given.size() < 2) {
        return out.usageError(texts::missingArgument(given.isEmpty() ? QStringLiteral("CMX_FILE")
                                                                     : QStringLiteral("OUTPUT.png")),
                              usage.line);
    }
    if (given.size() > 2) {
        return out.usageError(texts::tooManyArguments(), usage.line);
    }
    const QString tone = parser.value(o.tone);
    if (parser.isSet(o.tone) && tone != QStringLiteral("lgt") && tone != QStringLiteral("med") &&
        tone != QStringLiteral("drk")) {
        return out.usageError(texts::badTone(tone), usage.line);
    }
    if (parser.isSet(o.size)) {
        const auto size = parseSize(parser.value(o.size));
        if (!size) {
            return out.usageError(texts::badSize(parser.value(o.size)), usage.line);
        }
        view.width = size->first;
        view.height = size->second;
    }
    if (parser.isSet(o.turn)) {
        bool ok = false;
        const double turn = parser.value(o.turn).toDouble(&ok);
        if (!ok || !std::isfinite(turn)) {
            return out.usageError(texts::badTurn(parser.value(o.turn)), usage.line);
        }
        view.turnDegrees = static_cast<float>(std::fmod(turn, 360.0));
    }
    QStringList files = {given[0]};
    if (parser.isSet(o.texture)) {
        files.append(parser.value(o.texture));
    }
    files.append(parser.values(o.with));
    for (const QString& file : files) {
        if (const auto problem = fileProblem(file)) {
            out.error(*problem);
            return out.finish(Stopped);
        }
    }
    request.cmxPath = QFileInfo(given[0]).absoluteFilePath();
    request.texturePath =
        parser.isSet(o.texture) ? QFileInfo(parser.value(o.texture)).absoluteFilePath() : QString();
    request.tone = tone;
    request.alone = parser.isSet(o.alone);
    for (const QString& with : parser.values(o.with)) {
        request.with.append(QFileInfo(with).absoluteFilePath());
    }
    return std::nullopt;
}

void report(const tryon::TryOnScene& scene, const QString& output, bool json, Output& out) {
    if (json) {
        QJsonArray meshes;
        for (const tryon::TryOnPiece& piece : scene.pieces) {
            meshes.append(meshJson(piece));
        }
        out.json({{QStringLiteral("command"), QStringLiteral("render")},
                  {QStringLiteral("exitStatus"), Clean},
                  {QStringLiteral("output"), output},
                  {QStringLiteral("skeleton"), scene.skeletonFile},
                  {QStringLiteral("rule"), scene.rule},
                  {QStringLiteral("meshes"), meshes},
                  {QStringLiteral("missing"), QJsonArray::fromStringList(scene.missing)}});
        return;
    }
    out.line(texts::renderWroteLine(output));
    out.line(texts::renderSkeletonLine(scene.skeletonFile));
    for (const tryon::TryOnPiece& piece : scene.pieces) {
        out.line(texts::renderMeshLine(piece.meshFile, static_cast<qint64>(piece.mesh.vertexCount()),
                                       piece.textureFile));
    }
    for (const QString& missing : scene.missing) {
        out.line(texts::renderMissingLine(missing));
    }
}

} // namespace

int runRender(const QStringList& arguments, Output& out) {
    const Usage usage{texts::usageRender(), texts::helpRender()};
    QCommandLineParser parser;
    const RenderOptions o;
    parser.addOptions({o.tone, o.texture, o.with, o.alone, o.size, o.turn, o.json});
    if (const auto ended = parse(parser, arguments, usage, out)) {
        return *ended;
    }
    tryon::TryOnRequest request;
    platform::render::RenderView view;
    if (const auto ended = readOptions(parser, o, usage, out, request, view)) {
        return *ended;
    }
    const QString output = QFileInfo(parser.positionalArguments()[1]).absoluteFilePath();
    const std::vector<core::games::GameInstall> games = core::games::discoverGames(
        {qEnvironmentVariable("HOME", QDir::homePath()), qEnvironmentVariable("WINEPREFIX")});
    const tryon::TryOnScene scene =
        tryon::buildTryOnScene(request, tryon::placesFor(QFileInfo(request.cmxPath).absolutePath(), games));
    if (!scene.drawable) {
        out.error(texts::cannotDraw(scene.failure));
        return out.finish(Stopped);
    }
    const platform::render::Rendered rendered = platform::render::renderScene(scene.sceneMeshes(), view);
    if (rendered.error != platform::render::RenderError::None) {
        out.error(texts::cannotDraw(texts::renderError(rendered.error)));
        return out.finish(Stopped);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!rendered.picture.save(&buffer, "PNG")) {
        png.clear();
    }
    if (!writePicture(output, png, out)) {
        return out.finish(Stopped);
    }
    report(scene, output, parser.isSet(o.json), out);
    return out.finish(Clean);
}

} // namespace vestimo::cli
