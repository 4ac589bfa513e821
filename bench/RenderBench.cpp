// The software renderer's frame: a textured, lit body-sized mesh of 1,000 faces (546 vertices, a
// 128 x 128 texture) drawn into a 512 x 512 picture at a new turn each frame, as the preview window
// draws while the Sim is dragged round. The baseline fills the same picture with one colour, the
// least any frame costs. Target: 8 ms a frame, half of a 60 Hz frame, leaving the rest for posing
// and showing. VESTIMO_BENCH_ONLY=render runs this alone.

#include "RenderBench.h"

#include "core/tryon/TryOn.h"
#include "platform/FileSystem.h"
#include "platform/render/Renderer.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

namespace vestimo::bench {

namespace {

using platform::render::RenderMesh;

constexpr double TargetMs = 8.0;
constexpr int Frames = 200;
constexpr int Rings = 21;    // 20 bands of faces from top to bottom
constexpr int Segments = 25; // around: 2 x 20 x 25 = 1,000 faces

// A rounded column about as tall and wide as an adult Sim, in the game's units.
RenderMesh bodyMesh() {
    RenderMesh mesh;
    for (int r = 0; r < Rings; ++r) {
        const double along = static_cast<double>(r) / (Rings - 1);
        const double bulge = std::sin(along * std::numbers::pi);
        for (int s = 0; s <= Segments; ++s) {
            const double around = 2 * std::numbers::pi * s / Segments;
            const double nx = std::cos(around) * bulge;
            const double nz = std::sin(around) * bulge;
            mesh.positions.insert(mesh.positions.end(),
                                  {static_cast<float>(0.6 * nx), static_cast<float>(5.0 * (1 - along)),
                                   static_cast<float>(0.4 * nz)});
            mesh.normals.insert(mesh.normals.end(), {static_cast<float>(nx),
                                                     static_cast<float>(std::cos(along * std::numbers::pi)),
                                                     static_cast<float>(nz)});
            mesh.uvs.insert(mesh.uvs.end(), {static_cast<float>(s) / Segments, static_cast<float>(along)});
        }
    }
    for (int r = 0; r + 1 < Rings; ++r) {
        for (int s = 0; s < Segments; ++s) {
            const auto at = [](int ring, int segment) {
                return static_cast<std::uint32_t>(ring * (Segments + 1) + segment);
            };
            mesh.triangles.insert(mesh.triangles.end(), {at(r, s), at(r + 1, s), at(r + 1, s + 1), at(r, s),
                                                         at(r + 1, s + 1), at(r, s + 1)});
        }
    }
    mesh.texture = QImage(128, 128, QImage::Format_RGB32);
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) {
            mesh.texture.setPixel(x, y, qRgb(x * 2, y * 2, (x ^ y) & 0xff));
        }
    }
    return mesh;
}

// Milliseconds a frame, the fastest of three runs of `Frames` frames.
template <typename Frame> double msPerFrame(const Frame& frame) {
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < Frames; ++i) {
            frame(i);
        }
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e6 / Frames);
    }
    return best;
}

} // namespace

bool renderBench() {
    const std::vector<RenderMesh> scene = {bodyMesh()};
    platform::render::Renderer renderer;
    bool refused = false;
    const double drawn = msPerFrame([&](int i) {
        const platform::render::RenderView view{512, 512, static_cast<float>(i * 7 % 360)};
        refused = renderer.draw(scene, view) != platform::render::RenderError::None || refused;
    });
    QImage picture(512, 512, QImage::Format_RGB32);
    const double filled = msPerFrame([&picture](int i) { picture.fill(static_cast<uint>(0xff000000 + i)); });
    if (refused) {
        std::fprintf(stderr, "the renderer refused the bench's scene\n");
        return false;
    }
    const bool met = drawn <= TargetMs;
    std::printf("%-18s %7zu %9.3f ms/frame  baseline (fill) %.3f ms  %6.1fx  target %.0f ms%s\n",
                "render 512x512", scene.front().triangles.size() / 3, drawn, filled, drawn / filled, TargetMs,
                met ? "" : "  MISSED");
    std::fflush(stdout);
    return met;
}

// The whole of `vestimo render` but the process: reading, posing, drawing, encoding, writing.
bool tryOnBench() {
    constexpr double TryOnTargetMs = 100.0;
    const QString bodies = QDir::cleanPath(QStringLiteral(VESTIMO_BODIES_DIR));
    if (!QFile::exists(QDir(bodies).filePath(QStringLiteral("adult-skeleton.cmx")))) {
        std::printf("%-18s skipped: no real bodies in %s\n", "try on 512x512", qPrintable(bodies));
        return true;
    }
    QTemporaryDir scratch;
    tryon::TryOnRequest request;
    request.cmxPath = QDir(bodies).filePath(QStringLiteral("B001FAFit_01.cmx"));
    request.with = {QDir(bodies).filePath(QStringLiteral("HMLO.cmx")),
                    QDir(bodies).filePath(QStringLiteral("HMRO.cmx"))};
    std::size_t vertices = 0;
    bool failed = false;
    double best = 1e9;
    for (int run = 0; run < 20; ++run) {
        const QString output = scratch.filePath(QStringLiteral("sim%1.png").arg(run));
        QElapsedTimer timer;
        timer.start();
        const tryon::TryOnScene scene = tryon::buildTryOnScene(request, {});
        const platform::render::Rendered rendered =
            platform::render::renderScene(scene.sceneMeshes(), platform::render::RenderView{});
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        failed = failed || !scene.drawable || !rendered.picture.save(&buffer, "PNG") ||
                 !platform::saveFile(output, png).ok;
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e6);
        vertices = 0;
        for (const tryon::TryOnPiece& piece : scene.pieces) {
            vertices += piece.mesh.vertexCount();
        }
    }
    if (failed) {
        std::fprintf(stderr, "the demo adult could not be drawn and written\n");
        return false;
    }
    const bool met = best <= TryOnTargetMs;
    std::printf("%-18s %7zu %9.3f ms to a written file  target %.0f ms%s\n", "try on 512x512", vertices, best,
                TryOnTargetMs, met ? "" : "  MISSED");
    std::fflush(stdout);
    return met;
}

} // namespace vestimo::bench
