#include "SimFiles.h"

#include "core/sim/Character.h"
#include "core/sim/Mesh.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace vestimo::sim;
using vestimo::test::readBody;

namespace {

// A mesh of three vertices on one bone, one line per field, to break line by line.
const std::string SmallSkn = "m\nx\n1\nPELVIS\n1\n0 1 2\n1\n0 0 3 -1 0\n3\n0 0\n0.5 0\n1 1\n0\n3\n"
                             "0 0 0 0 0 1\n1 0 0 0 0 1\n0 1 0 0 0 1\n";
const std::string SmallSkeleton =
    "//\nversion 300\n1\nadult\n2\nROOT\nNULL\n0\n| 0 3 0 |\n| 0 0 0 1 |\n1\n1\n0\n0\n0\n"
    "PELVIS\nROOT\n0\n| 0 1 0 |\n| 0 0 0 1 |\n0\n1\n1\n0\n0\n0\n0\n";

// `text` with its line `line` (from 1) replaced.
std::string withLine(const std::string& text, int line, const std::string& replacement) {
    std::size_t start = 0;
    for (int i = 1; i < line; ++i) {
        start = text.find('\n', start) + 1;
    }
    return text.substr(0, start) + replacement + text.substr(text.find('\n', start));
}

SimError errorOf(const std::string& kind, const std::string& text) {
    if (kind == "skn") {
        const Result<Mesh> mesh = parseSkn(text);
        return mesh.ok() ? SimError{} : mesh.error();
    }
    const Result<CharacterFile> file = parseCmx(text);
    return file.ok() ? SimError{} : file.error();
}

} // namespace

TEST(SimParse, HandMadeFormsRead) {
    ASSERT_TRUE(parseSkn(SmallSkn).ok());
    ASSERT_TRUE(parseSkeleton(SmallSkeleton).ok());
}

TEST(SimParse, BadTextInputNamesItsFaultAndLine) {
    struct Case {
        std::string form;
        std::string text;
        SimErrorKind kind;
        std::int64_t line;
    };
    const std::string farBlend = withLine(withLine(SmallSkn, 13, "1\n7 16384"), 15, "4\n0 0 1 0 0 1");
    const std::string blendsOnly = SmallSkn.substr(0, SmallSkn.find("0\n3\n0 0 0")) + "1\n0 16384\n0\n";
    const Case cases[] = {
        {"skn", withLine(SmallSkn, 6, "0 1 5"), SimErrorKind::FaceOutOfRange, 6},
        {"skn", withLine(SmallSkn, 8, "0 0 4 -1 0"), SimErrorKind::BindingOutOfRange, 8},
        {"skn", withLine(SmallSkn, 8, "1 0 3 -1 0"), SimErrorKind::BindingOutOfRange, 8},
        {"skn", withLine(SmallSkn, 8, "0 0 3 0 1"), SimErrorKind::BindingOutOfRange, 8},
        {"skn", withLine(SmallSkn, 5, "1000001"), SimErrorKind::MeshTooLarge, 5},
        {"skn", withLine(SmallSkn, 14, "999999"), SimErrorKind::CountTooLarge, 14},
        {"skn", withLine(SmallSkn, 3, "-1"), SimErrorKind::NegativeCount, 3},
        {"skn", withLine(SmallSkn, 9, "three"), SimErrorKind::NotANumber, 9},
        {"skn", withLine(SmallSkn, 15, "nan 0 0 0 0 1"), SimErrorKind::NotFinite, 15},
        {"skn", withLine(SmallSkn, 16, "1e39 0 0 0 0 1"), SimErrorKind::NotFinite, 16},
        {"skn", withLine(SmallSkn, 6, "0 1"), SimErrorKind::WrongValueCount, 6},
        {"skn", SmallSkn.substr(0, SmallSkn.rfind("0 1 0")), SimErrorKind::FileEndsEarly, 17},
        {"skn", farBlend, SimErrorKind::BlendOutOfRange, 14},
        {"skn", blendsOnly, SimErrorKind::FewerVerticesThanBlends, 15},
        {"cmx", withLine(SmallSkeleton, 17, "HIP"), SimErrorKind::UnknownParent, 17},
        {"cmx", withLine(SmallSkeleton, 9, "| 0 3 |"), SimErrorKind::WrongValueCount, 9},
        {"cmx", withLine(SmallSkeleton, 5, "400"), SimErrorKind::CountTooLarge, 5},
        {"cmx", SmallSkeleton.substr(0, SmallSkeleton.find("PELVIS")), SimErrorKind::FileEndsEarly, 16},
    };
    for (const Case& c : cases) {
        const SimError e = errorOf(c.form, c.text);
        EXPECT_EQ(e.kind, c.kind) << c.text;
        EXPECT_EQ(e.place, Place::Line) << c.text;
        EXPECT_EQ(e.at, c.line) << c.text;
        EXPECT_TRUE(describe(e).startsWith(QString("line %1: ").arg(c.line))) << describe(e).toStdString();
    }
}

TEST(SimParse, BadBinaryInputNamesItsByte) {
    const Result<Mesh> mesh = parseSkn(SmallSkn);
    ASSERT_TRUE(mesh.ok());
    const QByteArray bmf = vestimo::test::writeBmf(mesh.value());
    // name "m" and texture "x" take 2 bytes each; the bone count follows.
    QByteArray huge = bmf;
    huge[7] = '\x7f';
    QByteArray longName = bmf;
    longName.insert(0, QByteArray("\xff\xff\xff\xff\x7f", 5));
    struct Case {
        QByteArray bytes;
        SimErrorKind kind;
        std::int64_t at;
    };
    const Case cases[] = {
        {bmf.left(3), SimErrorKind::FileEndsEarly, 3},
        {huge, SimErrorKind::CountTooLarge, 4},
        {longName, SimErrorKind::CountTooLarge, 0},
        {QByteArray(4, '\0'), SimErrorKind::FileEndsEarly, 4},
    };
    for (const Case& c : cases) {
        const bool character = c.bytes.size() == 4;
        const SimError e = character ? parseBcf(c.bytes).error() : parseBmf(c.bytes).error();
        EXPECT_EQ(e.kind, c.kind);
        EXPECT_EQ(e.place, Place::Byte);
        EXPECT_EQ(e.at, c.at);
    }
    QByteArray nan = bmf;
    nan.replace(nan.size() - 4, 4, QByteArray("\x00\x00\xc0\x7f", 4));
    EXPECT_EQ(parseBmf(nan).error().kind, SimErrorKind::NotFinite);
}

TEST(SimParse, FilesWithoutTheAskedPartSaySo) {
    EXPECT_EQ(parseSuit(SmallSkeleton).error().kind, SimErrorKind::NoSuit);
    EXPECT_EQ(
        parseSkeleton("//\nversion 300\n0\n1\nhmlo\n0\n0\n1\nL_HAND\nxskin-hmlo\n0\n0\n0\n").error().kind,
        SimErrorKind::NoSkeleton);
}

TEST(SimParse, RealSkeletonsAndSuits) {
    const QByteArray adult = readBody("adult-skeleton.cmx");
    if (adult.isEmpty()) {
        GTEST_SKIP() << "no real-world bodies beside the project";
    }
    const Result<Skeleton> skeleton = parseSkeleton(adult.toStdString());
    ASSERT_TRUE(skeleton.ok()) << describe(skeleton.error()).toStdString();
    const std::vector<Bone>& bones = skeleton.value().bones;
    ASSERT_EQ(bones.size(), 29U);
    EXPECT_EQ(skeleton.value().name, "adult");
    EXPECT_EQ(bones[0].name, "ROOT");
    EXPECT_EQ(bones[0].parent, "NULL");
    EXPECT_EQ(bones[1].parent, "ROOT");
    ASSERT_EQ(bones[1].properties.size(), 1U);
    EXPECT_EQ(bones[1].properties[0], (PropertyList{{"name", "adult"}}));
    const auto head =
        std::find_if(bones.begin(), bones.end(), [](const Bone& b) { return b.name == "HEAD"; });
    ASSERT_NE(head, bones.end());
    EXPECT_EQ(head->parent, "NECK");
    EXPECT_FLOAT_EQ(head->wiggleValue, 700000.0F);
    EXPECT_FLOAT_EQ(head->wigglePower, 0.05F);

    const Result<Suit> hair = parseSuit(readBody("C003FA_longhair.cmx").toStdString());
    ASSERT_TRUE(hair.ok());
    EXPECT_EQ(hair.value().name, "c003fa_longhair");
    ASSERT_EQ(hair.value().skins.size(), 1U);
    EXPECT_EQ(hair.value().skins[0].boneName, "HEAD");
    EXPECT_EQ(hair.value().skins[0].meshName, "xskin-c003fa_longhair-HEAD-HEAD");
    const Result<Suit> hand = parseSuit(readBody("HMRO.cmx").toStdString());
    ASSERT_TRUE(hand.ok());
    EXPECT_EQ(hand.value().skins.at(0).boneName, "R_HAND");
}

TEST(SimParse, RealMeshes) {
    const QByteArray body = readBody("xskin-b001fafit_01-PELVIS-BODY.skn");
    if (body.isEmpty()) {
        GTEST_SKIP() << "no real-world bodies beside the project";
    }
    const Result<Mesh> mesh = parseSkn(body.toStdString());
    ASSERT_TRUE(mesh.ok()) << describe(mesh.error()).toStdString();
    EXPECT_EQ(mesh.value().boneNames.size(), 19U);
    EXPECT_EQ(mesh.value().faces.size(), 580U);
    EXPECT_EQ(mesh.value().bindings.size(), 19U);
    EXPECT_EQ(mesh.value().texCoords.size(), 495U);
    EXPECT_EQ(mesh.value().blends.size(), 114U);
    EXPECT_EQ(mesh.value().vertices.size(), 609U);
    const Result<Mesh> hand = parseSkn(readBody("xskin-hmlo-L_HAND-HANDML.skn").toStdString());
    ASSERT_TRUE(hand.ok());
    EXPECT_EQ(hand.value().boneNames, std::vector<std::string>{"L_HAND"});
    EXPECT_EQ(hand.value().faces.size(), 36U);
    EXPECT_EQ(hand.value().vertices.size(), 32U);
}
