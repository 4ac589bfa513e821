#include "platform/render/Renderer.h"

#include <gtest/gtest.h>

#include <QColor>

#include <cmath>
#include <limits>
#include <set>

using namespace vestimo::platform::render;

namespace {

constexpr QRgb Red = 0xffff0000;
constexpr QRgb Green = 0xff00ff00;
constexpr QRgb Blue = 0xff0000ff;
constexpr QRgb Yellow = 0xffffff00;

QImage solid(QRgb colour) {
    QImage image(1, 1, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A square at depth z facing the viewer, without normals (so lit fully: texels come out exact);
// uv (0, 0) at its corner on the Sim's right (+x) and top.
RenderMesh quad(float x0, float x1, float y0, float y1, float z, QImage texture) {
    return {{x1, y1, z, x0, y1, z, x0, y0, z, x1, y0, z},
            {},
            {0, 0, 1, 0, 1, 1, 0, 1},
            {0, 1, 2, 0, 2, 3},
            std::move(texture)};
}

// Where the pixels of `colour` lie on average, as fractions of the picture's sides.
QPointF middleOf(const QImage& picture, QRgb colour) {
    double x = 0, y = 0, n = 0;
    for (int py = 0; py < picture.height(); ++py) {
        for (int px = 0; px < picture.width(); ++px) {
            if (picture.pixel(px, py) == colour) {
                x += px, y += py, ++n;
            }
        }
    }
    return n == 0 ? QPointF(-1, -1) : QPointF(x / n / picture.width(), y / n / picture.height());
}

std::set<QRgb> coloursOf(const QImage& picture) {
    std::set<QRgb> colours;
    for (int py = 0; py < picture.height(); ++py) {
        for (int px = 0; px < picture.width(); ++px) {
            colours.insert(picture.pixel(px, py));
        }
    }
    return colours;
}

QImage draw(const std::vector<RenderMesh>& meshes, RenderView view = {128, 128}) {
    const Rendered rendered = renderScene(meshes, view);
    EXPECT_EQ(rendered.error, RenderError::None);
    return rendered.picture;
}

TEST(Renderer, TexelsComeOutExactAndUnsmoothed) {
    QImage texture(2, 2, QImage::Format_RGB32);
    texture.setPixel(0, 0, Red);
    texture.setPixel(1, 0, Green);
    texture.setPixel(0, 1, Blue);
    texture.setPixel(1, 1, Yellow);
    const QImage picture = draw({quad(-1, 1, -1, 1, 0, texture)});
    const struct {
        QRgb texel;
        double x, y;
    } cases[] = {{Red, 0.25, 0.25}, {Green, 0.75, 0.25}, {Blue, 0.25, 0.75}, {Yellow, 0.75, 0.75}};
    for (const auto& c : cases) {
        const QPointF at = middleOf(picture, c.texel);
        EXPECT_NEAR(at.x(), c.x, 0.05) << QColor(c.texel).name().toStdString();
        EXPECT_NEAR(at.y(), c.y, 0.05) << QColor(c.texel).name().toStdString();
    }
    EXPECT_EQ(coloursOf(picture), (std::set<QRgb>{Red, Green, Blue, Yellow, BackgroundColour}));
}

TEST(Renderer, TheSimsLeftIsOnThePicturesRightFacingTheViewer) {
    // Red on the Sim's left (-x) and up, blue on its right and down.
    const std::vector<RenderMesh> scene = {quad(-2, -1, 0, 1, 0, solid(Red)),
                                           quad(1, 2, -1, 0, 0, solid(Blue))};
    const struct {
        float turn;
        bool redOnRight;
    } cases[] = {{0, true}, {180, false}, {-180, false}, {360, true}};
    for (const auto& c : cases) {
        const QImage picture = draw(scene, {128, 128, c.turn});
        const QPointF red = middleOf(picture, Red);
        const QPointF blue = middleOf(picture, Blue);
        EXPECT_EQ(red.x() > 0.5, c.redOnRight) << c.turn;
        EXPECT_EQ(blue.x() > 0.5, !c.redOnRight) << c.turn;
        EXPECT_LT(red.y(), 0.5) << c.turn;
        EXPECT_GT(blue.y(), 0.5) << c.turn;
    }
}

TEST(Renderer, TheNearerFaceWinsWhateverTheOrder) {
    const RenderMesh front = quad(-1, 1, -1, 1, 1, solid(Red)); // towards the viewer at turn 0
    const RenderMesh back = quad(-1, 1, -1, 1, -1, solid(Blue));
    const struct {
        std::vector<RenderMesh> scene;
        float turn;
        QRgb seen;
    } cases[] = {{{front, back}, 0, Red},
                 {{back, front}, 0, Red},
                 {{front, back}, 180, Blue},
                 {{back, front}, 180, Blue}};
    for (const auto& c : cases) {
        EXPECT_EQ(draw(c.scene, {64, 64, c.turn}).pixel(32, 32), c.seen) << c.turn;
    }
}

TEST(Renderer, AnEmptySceneIsBackgroundOnly) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<std::vector<RenderMesh>> scenes = {
        {},
        {RenderMesh{}},
        {RenderMesh{{0, 0, 0, 1, 0, 0, 0, 1, 0}, {}, {}, {}, {}}},
        {RenderMesh{{nan, 0, 0, 1, nan, 0, 0, 1, nan}, {}, {}, {0, 1, 2}, {}}},
    };
    QImage background(40, 30, QImage::Format_RGB32);
    background.fill(BackgroundColour);
    for (const auto& scene : scenes) {
        EXPECT_EQ(draw(scene, {40, 30}), background);
    }
}

TEST(Renderer, ScenesPastTheLimitsAreRefusedAndDrawNothing) {
    RenderMesh tooManyFaces = quad(-1, 1, -1, 1, 0, {});
    tooManyFaces.triangles.assign(static_cast<std::size_t>(MaxTriangles + 1) * 3, 0);
    RenderMesh tooManyVertices;
    tooManyVertices.positions.assign(static_cast<std::size_t>(MaxVertices + 1) * 3, 0.0F);
    RenderMesh faceOutside = quad(-1, 1, -1, 1, 0, {});
    faceOutside.triangles.back() = 4;
    RenderMesh shortPositions = quad(-1, 1, -1, 1, 0, {});
    shortPositions.positions.pop_back();
    RenderMesh shortUvs = quad(-1, 1, -1, 1, 0, {});
    shortUvs.uvs.pop_back();
    RenderMesh shortNormals = quad(-1, 1, -1, 1, 0, {});
    shortNormals.normals = {0, 0, 1};
    const struct {
        RenderMesh mesh;
        RenderView view;
        RenderError error;
    } cases[] = {
        {quad(-1, 1, -1, 1, 0, {}), {0, 10}, RenderError::PictureSize},
        {quad(-1, 1, -1, 1, 0, {}), {10, -1}, RenderError::PictureSize},
        {quad(-1, 1, -1, 1, 0, {}), {MaxPictureSide + 1, 10}, RenderError::PictureSize},
        {tooManyFaces, {}, RenderError::TooManyTriangles},
        {tooManyVertices, {}, RenderError::TooManyVertices},
        {faceOutside, {}, RenderError::MeshInconsistent},
        {shortPositions, {}, RenderError::MeshInconsistent},
        {shortUvs, {}, RenderError::MeshInconsistent},
        {shortNormals, {}, RenderError::MeshInconsistent},
    };
    for (const auto& c : cases) {
        Renderer renderer;
        ASSERT_EQ(renderer.draw({quad(-1, 1, -1, 1, 0, {})}, {16, 16}), RenderError::None);
        const QImage before = renderer.picture();
        EXPECT_EQ(renderer.draw({c.mesh}, c.view), c.error);
        EXPECT_EQ(renderer.picture(), before);
    }
}

TEST(Renderer, FacesWithAVertexNotANumberAreSkipped) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const RenderMesh square = quad(-1, 1, -1, 1, 0, solid(Red));
    RenderMesh spoilt = square;
    // A far-off face through a vertex that is not a number: neither drawn nor counted in the fit.
    spoilt.positions.insert(spoilt.positions.end(), {nan, 0, 0, 50, 50, 0, 60, 50, 0});
    spoilt.uvs.insert(spoilt.uvs.end(), {0, 0, 0, 0, 0, 0});
    spoilt.triangles.insert(spoilt.triangles.end(), {4, 5, 6});
    RenderMesh infinite = square;
    infinite.positions[3] = std::numeric_limits<float>::infinity();
    Renderer renderer; // one renderer for all: what one frame leaves must not show in the next
    for (const RenderMesh& mesh : {square, spoilt, square}) {
        ASSERT_EQ(renderer.draw({mesh}, {64, 64}), RenderError::None);
        EXPECT_EQ(renderer.picture(), draw({square}, {64, 64}));
    }
    ASSERT_EQ(renderer.draw({infinite}, {64, 64}), RenderError::None);
    EXPECT_GT(middleOf(renderer.picture(), Red).x(), 0); // the other face of the square remains
}

} // namespace
