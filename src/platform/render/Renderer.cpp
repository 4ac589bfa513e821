#include "platform/render/Renderer.h"

#include <QBuffer>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

namespace vestimo::platform::render {

namespace {

// Part of each side left free around the scene at zoom 1.
constexpr double Margin = 0.05;
constexpr float Ambient = 0.35F;
constexpr float Diffuse = 1.0F - Ambient;
// Towards the light, in the viewer's frame (x to the Sim's left at turn 0, z towards the viewer):
// from above, in front and a little to the viewer's left, so the face is lit at every turn.
constexpr float LightX = 0.34F;
constexpr float LightY = 0.51F;
constexpr float LightZ = 0.79F;

constexpr float NoDepth = -std::numeric_limits<float>::infinity();

struct Bounds {
    double cx = 0, cy = 0, cz = 0;
    double radius = 0;     // the farthest vertex from the vertical axis through the middle
    double halfHeight = 0; // so that no turn changes the scale
};

bool finite(const float* p) {
    return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]);
}

// Calls `use` with each vertex of every face that can be drawn: one whose three vertices are all
// finite. Only those place the scene; a stray vertex no face uses does not.
template <typename Use> void forEachDrawnVertex(const std::vector<RenderMesh>& meshes, const Use& use) {
    for (const RenderMesh& mesh : meshes) {
        const float* positions = mesh.positions.data();
        for (std::size_t t = 0; t + 2 < mesh.triangles.size(); t += 3) {
            const float* a = positions + std::size_t{mesh.triangles[t]} * 3;
            const float* b = positions + std::size_t{mesh.triangles[t + 1]} * 3;
            const float* c = positions + std::size_t{mesh.triangles[t + 2]} * 3;
            if (finite(a) && finite(b) && finite(c)) {
                use(a);
                use(b);
                use(c);
            }
        }
    }
}

// Where the drawn part of the scene lies; nothing when no face can be drawn.
std::optional<Bounds> sceneBounds(const std::vector<RenderMesh>& meshes) {
    double lo[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL};
    double hi[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    forEachDrawnVertex(meshes, [&](const float* p) {
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], double{p[k]});
            hi[k] = std::max(hi[k], double{p[k]});
        }
    });
    if (lo[0] > hi[0]) {
        return std::nullopt;
    }
    Bounds b{(lo[0] + hi[0]) / 2, (lo[1] + hi[1]) / 2, (lo[2] + hi[2]) / 2, 0, (hi[1] - lo[1]) / 2};
    forEachDrawnVertex(meshes, [&b](const float* p) {
        b.radius = std::max(b.radius, std::hypot(p[0] - b.cx, p[2] - b.cz));
    });
    return b;
}

// The first fault that keeps the scene from being drawn, if any.
RenderError refusal(const std::vector<RenderMesh>& meshes, const RenderView& view) {
    if (view.width <= 0 || view.height <= 0 || view.width > MaxPictureSide || view.height > MaxPictureSide) {
        return RenderError::PictureSize;
    }
    std::int64_t triangles = 0;
    std::int64_t vertices = 0;
    for (const RenderMesh& mesh : meshes) {
        triangles += static_cast<std::int64_t>(mesh.triangles.size() / 3);
        vertices += static_cast<std::int64_t>(mesh.positions.size() / 3);
    }
    if (triangles > MaxTriangles) {
        return RenderError::TooManyTriangles;
    }
    if (vertices > MaxVertices) {
        return RenderError::TooManyVertices;
    }
    for (const RenderMesh& mesh : meshes) {
        const std::size_t count = mesh.positions.size() / 3;
        const bool sizes = mesh.positions.size() % 3 == 0 && mesh.triangles.size() % 3 == 0 &&
                           (mesh.normals.empty() || mesh.normals.size() == mesh.positions.size()) &&
                           (mesh.uvs.empty() || mesh.uvs.size() == count * 2);
        const bool faces = std::all_of(mesh.triangles.begin(), mesh.triangles.end(),
                                       [count](std::uint32_t v) { return v < count; });
        if (!sizes || !faces) {
            return RenderError::MeshInconsistent;
        }
    }
    return RenderError::None;
}

float finiteOr(float value, float fallback) {
    return std::isfinite(value) ? value : fallback;
}

QRgb shade(QRgb colour, int light) {
    const auto channel = [light](int c) { return static_cast<unsigned>((c * light) >> 8); };
    return 0xff000000U | (channel(qRed(colour)) << 16) | (channel(qGreen(colour)) << 8) |
           channel(qBlue(colour));
}

} // namespace

struct Renderer::Frame {
    float cx, cy, cz;
    float cosTurn, sinTurn;
    float scale;
    float originX, originY; // where the middle of the scene lands in the picture
};

RenderError Renderer::draw(const std::vector<RenderMesh>& meshes, const RenderView& view) {
    if (const RenderError refused = refusal(meshes, view); refused != RenderError::None) {
        return refused;
    }
    const qsizetype pixels = qsizetype{view.width} * view.height;
    if (picture_.width() != view.width || picture_.height() != view.height) {
        picture_ = QImage(view.width, view.height, QImage::Format_RGB32);
    }
    picture_.fill(BackgroundColour);
    depth_.assign(static_cast<std::size_t>(pixels), NoDepth);
    const std::optional<Bounds> bounds = sceneBounds(meshes);
    if (!bounds) {
        textures_.clear();
        return RenderError::None;
    }
    // Flat or thin scenes still get a finite scale.
    const double span = 1e-6;
    const double zoom = std::isfinite(view.zoom) && view.zoom > 0 ? view.zoom : 1.0;
    const double scale =
        zoom * std::min(view.width * (1 - 2 * Margin) / (2 * std::max(bounds->radius, span)),
                        view.height * (1 - 2 * Margin) / (2 * std::max(bounds->halfHeight, span)));
    const double turn = finiteOr(view.turnDegrees, 0) * std::numbers::pi / 180;
    const Frame frame{static_cast<float>(bounds->cx),
                      static_cast<float>(bounds->cy),
                      static_cast<float>(bounds->cz),
                      static_cast<float>(std::cos(turn)),
                      static_cast<float>(std::sin(turn)),
                      static_cast<float>(scale),
                      static_cast<float>(view.width / 2.0 + finiteOr(view.panX, 0)),
                      static_cast<float>(view.height / 2.0 + finiteOr(view.panY, 0))};
    std::vector<Texture> next;
    for (const RenderMesh& mesh : meshes) {
        const QImage* texture = textureFor(mesh.texture, next);
        project(mesh, frame);
        for (std::size_t t = 0; t + 2 < mesh.triangles.size(); t += 3) {
            const Projected& a = projected_[mesh.triangles[t]];
            const Projected& b = projected_[mesh.triangles[t + 1]];
            const Projected& c = projected_[mesh.triangles[t + 2]];
            if (a.ok && b.ok && c.ok) {
                fill(a, b, c, texture);
            }
        }
    }
    textures_ = std::move(next);
    return RenderError::None;
}

// The texture in the one format the inner loop reads, converted once and kept while it is drawn.
const QImage* Renderer::textureFor(const QImage& texture, std::vector<Texture>& next) {
    if (texture.isNull()) {
        return nullptr;
    }
    const qint64 key = texture.cacheKey();
    const auto same = [key](const Texture& t) { return t.key == key; };
    if (auto found = std::find_if(next.begin(), next.end(), same); found != next.end()) {
        return &found->image;
    }
    auto kept = std::find_if(textures_.begin(), textures_.end(), same);
    Texture entry{key, kept != textures_.end() ? std::move(kept->image)
                                               : texture.convertToFormat(QImage::Format_RGB32)};
    // `next` is reserved as it grows only here; pointers handed out earlier must stay valid.
    if (next.size() == next.capacity()) {
        next.reserve(std::max<std::size_t>(8, next.capacity() * 2));
    }
    next.push_back(std::move(entry));
    return &next.back().image;
}

void Renderer::project(const RenderMesh& mesh, const Frame& f) {
    const std::size_t count = mesh.positions.size() / 3;
    projected_.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const float* p = &mesh.positions[i * 3];
        Projected& out = projected_[i];
        const float x = p[0] - f.cx;
        const float y = p[1] - f.cy;
        const float z = p[2] - f.cz;
        // Turned about +y; the viewer stands at +z, so the scene's -x falls to the picture's right.
        const float turnedX = x * f.cosTurn + z * f.sinTurn;
        const float turnedZ = -x * f.sinTurn + z * f.cosTurn;
        out.x = f.originX - turnedX * f.scale;
        out.y = f.originY - y * f.scale;
        out.depth = turnedZ;
        out.ok = std::isfinite(out.x) && std::isfinite(out.y) && std::isfinite(out.depth);
        out.u = mesh.uvs.empty() ? 0 : std::clamp(finiteOr(mesh.uvs[i * 2], 0), 0.0F, 1.0F);
        out.v = mesh.uvs.empty() ? 0 : std::clamp(finiteOr(mesh.uvs[i * 2 + 1], 0), 0.0F, 1.0F);
        float lit = 1;
        if (!mesh.normals.empty()) {
            const float* n = &mesh.normals[i * 3];
            const float nx = n[0] * f.cosTurn + n[2] * f.sinTurn;
            const float nz = -n[0] * f.sinTurn + n[2] * f.cosTurn;
            const float length = std::sqrt(nx * nx + n[1] * n[1] + nz * nz);
            // Lit on both sides: which way the faces wind cannot make a body part go dark.
            const float facing = std::abs(nx * LightX + n[1] * LightY + nz * LightZ) / length;
            lit = std::isfinite(facing) ? Ambient + Diffuse * std::min(facing, 1.0F) : Ambient;
        }
        // Half a step up, so that the weighted sum below truncates to the nearest step (the weights
        // add up to one): a fully lit face keeps its texels' exact colours.
        out.light = lit * 256 + 0.5F;
    }
}

void Renderer::fill(const Projected& a, const Projected& b, const Projected& c, const QImage* texture) {
    const float area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    if (!(std::abs(area) > 1e-12F)) {
        return;
    }
    const int width = picture_.width();
    const int height = picture_.height();
    // Clamped as floats first: a vertex far outside must not overflow the conversion.
    const auto column = [width](float v) { return static_cast<int>(std::clamp(v, 0.0F, float(width - 1))); };
    const auto row = [height](float v) { return static_cast<int>(std::clamp(v, 0.0F, float(height - 1))); };
    const int x0 = column(std::floor(std::min({a.x, b.x, c.x})));
    const int x1 = column(std::ceil(std::max({a.x, b.x, c.x})));
    const int y0 = row(std::floor(std::min({a.y, b.y, c.y})));
    const int y1 = row(std::ceil(std::max({a.y, b.y, c.y})));
    // Barycentric weights of a and b, linear in the pixel's position; c's is what is left.
    const float inv = 1.0F / area;
    const float waX = (b.y - c.y) * inv;
    const float wbX = (c.y - a.y) * inv;
    const int textureWidth = texture != nullptr ? texture->width() : 0;
    const int textureHeight = texture != nullptr ? texture->height() : 0;
    const uchar* texels = texture != nullptr ? texture->constBits() : nullptr;
    const qsizetype stride = texture != nullptr ? texture->bytesPerLine() : 0;
    for (int py = y0; py <= y1; ++py) {
        const float sy = static_cast<float>(py) + 0.5F;
        const float startX = static_cast<float>(x0) + 0.5F;
        float wa = ((b.x - startX) * (c.y - sy) - (b.y - sy) * (c.x - startX)) * inv;
        float wb = ((c.x - startX) * (a.y - sy) - (c.y - sy) * (a.x - startX)) * inv;
        auto* line = reinterpret_cast<QRgb*>(picture_.scanLine(py));
        float* depthLine = depth_.data() + static_cast<std::ptrdiff_t>(py) * width;
        for (int px = x0; px <= x1; ++px, wa += waX, wb += wbX) {
            const float wc = 1.0F - wa - wb;
            if (wa < 0 || wb < 0 || wc < 0) {
                continue;
            }
            const float depth = wa * a.depth + wb * b.depth + wc * c.depth;
            if (!(depth > depthLine[px])) {
                continue;
            }
            depthLine[px] = depth;
            const int light = std::min(256, static_cast<int>(wa * a.light + wb * b.light + wc * c.light));
            QRgb colour = UntexturedColour;
            if (texels != nullptr) {
                const float u = wa * a.u + wb * b.u + wc * c.u;
                const float v = wa * a.v + wb * b.v + wc * c.v;
                const int tx = std::clamp(static_cast<int>(u * float(textureWidth)), 0, textureWidth - 1);
                const int ty = std::clamp(static_cast<int>(v * float(textureHeight)), 0, textureHeight - 1);
                colour = reinterpret_cast<const QRgb*>(texels + ty * stride)[tx];
            }
            line[px] = shade(colour, light);
        }
    }
}

Rendered renderScene(const std::vector<RenderMesh>& meshes, const RenderView& view) {
    Renderer renderer;
    const RenderError error = renderer.draw(meshes, view);
    return {error == RenderError::None ? renderer.picture() : QImage(), error};
}

RenderError Renderer::draw(const std::vector<SceneMesh>& meshes, const RenderView& view) {
    std::vector<std::pair<QByteArray, QImage>> decoded;
    std::vector<RenderMesh> drawn;
    drawn.reserve(meshes.size());
    for (const SceneMesh& mesh : meshes) {
        QImage texture;
        if (!mesh.texture.isEmpty()) {
            const auto same = [&mesh](const auto& d) { return d.first == mesh.texture; };
            if (auto found = std::find_if(decoded.begin(), decoded.end(), same); found != decoded.end()) {
                texture = found->second;
            } else if (auto kept = std::find_if(decoded_.begin(), decoded_.end(), same);
                       kept != decoded_.end()) {
                texture = kept->second;
                decoded.emplace_back(*kept);
            } else {
                texture = QImage::fromData(mesh.texture, "BMP");
                decoded.emplace_back(mesh.texture, texture);
            }
        }
        drawn.push_back({mesh.positions, mesh.normals, mesh.uvs, mesh.triangles, texture});
    }
    decoded_ = std::move(decoded);
    return draw(drawn, view);
}

Rendered renderScene(const std::vector<SceneMesh>& meshes, const RenderView& view) {
    Renderer renderer;
    const RenderError error = renderer.draw(meshes, view);
    return {error == RenderError::None ? renderer.picture() : QImage(), error};
}

namespace {

// Thousands of small pictures are encoded for the cards: the fastest compression that still
// compresses (Qt maps this quality to zlib's level 1) halves the time of the default for files a
// little larger.
constexpr int FastPngQuality = 80;

QByteArray encodePng(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG", FastPngQuality)) {
        return {};
    }
    return png;
}

} // namespace

QByteArray renderPng(const std::vector<SceneMesh>& meshes, const RenderView& view, RenderError* error) {
    const Rendered rendered = renderScene(meshes, view);
    if (error != nullptr) {
        *error = rendered.error;
    }
    return rendered.picture.isNull() ? QByteArray() : encodePng(rendered.picture);
}

QByteArray texturePng(const QByteArray& bmp, int width, int height) {
    if (width <= 0 || height <= 0 || width > MaxPictureSide || height > MaxPictureSide) {
        return {};
    }
    const QImage texture = QImage::fromData(bmp, "BMP");
    if (texture.isNull()) {
        return {};
    }
    const double margin = 1 - 2 * Margin;
    const double scale = std::min(width * margin / texture.width(), height * margin / texture.height());
    const int drawnWidth = std::max(1, static_cast<int>(std::lround(texture.width() * scale)));
    const int drawnHeight = std::max(1, static_cast<int>(std::lround(texture.height() * scale)));
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(BackgroundColour);
    {
        QPainter painter(&picture);
        // One texel enlarged is one flat square, as on the Sim.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(
            QRect((width - drawnWidth) / 2, (height - drawnHeight) / 2, drawnWidth, drawnHeight),
            texture.convertToFormat(QImage::Format_RGB32));
    }
    return encodePng(picture);
}

} // namespace vestimo::platform::render
