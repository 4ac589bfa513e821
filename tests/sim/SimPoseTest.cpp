#include "SimFiles.h"

#include "core/sim/Pose.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace vestimo::sim;
using vestimo::test::readBody;

namespace {

struct RealAdult {
    PosedSkeleton skeleton;
    PosedMesh body;
    PosedMesh head;
    PosedMesh leftHand;
    PosedMesh rightHand;
};

PosedSkeleton posedSkeleton(const QString& file) {
    const Result<Skeleton> skeleton = parseSkeleton(readBody(file).toStdString());
    EXPECT_TRUE(skeleton.ok());
    const Result<PosedSkeleton> posed = skeleton.ok() ? poseSkeleton(skeleton.value()) : PosedSkeleton{};
    EXPECT_TRUE(posed.ok());
    return posed.ok() ? posed.value() : PosedSkeleton{};
}

PosedMesh posedMesh(const QString& file, const PosedSkeleton& skeleton) {
    const Result<Mesh> mesh = parseSkn(readBody(file).toStdString());
    EXPECT_TRUE(mesh.ok()) << file.toStdString();
    const Result<PosedMesh> posed = mesh.ok() ? poseMesh(mesh.value(), skeleton) : PosedMesh{};
    EXPECT_TRUE(posed.ok()) << file.toStdString();
    return posed.ok() ? posed.value() : PosedMesh{};
}

RealAdult realAdult() {
    RealAdult adult;
    adult.skeleton = posedSkeleton("adult-skeleton.cmx");
    adult.body = posedMesh("xskin-b001fafit_01-PELVIS-BODY.skn", adult.skeleton);
    adult.head = posedMesh("xskin-C003FA_longhair-HEAD-HEAD.skn", adult.skeleton);
    adult.leftHand = posedMesh("xskin-hmlo-L_HAND-HANDML.skn", adult.skeleton);
    adult.rightHand = posedMesh("xskin-hmro-R_HAND-HANDMR.skn", adult.skeleton);
    return adult;
}

Vec3 boneAt(const PosedSkeleton& skeleton, const std::string& name) {
    const auto bone = skeleton.find(name);
    EXPECT_TRUE(bone.has_value()) << name;
    return bone ? skeleton.world[*bone].translation : Vec3{};
}

Vec3 centre(const PosedMesh& mesh) {
    const BoundingBox box = boundingBox(mesh);
    return 0.5F * (box.min + box.max);
}

bool haveBodies() {
    return !readBody("adult-skeleton.cmx").isEmpty();
}

} // namespace

TEST(SimPose, SkeletonsStandOnTheirToesWithTheHeadOnTop) {
    if (!haveBodies()) {
        GTEST_SKIP() << "no real-world bodies beside the project";
    }
    for (const QString file : {"adult-skeleton.cmx", "child-skeleton.cmx"}) {
        const PosedSkeleton s = posedSkeleton(file);
        for (const char* toe : {"L_TOE02", "R_TOE02"}) {
            EXPECT_NEAR(boneAt(s, toe).y, 0.0F, 0.01F) << file.toStdString();
            EXPECT_GT(boneAt(s, toe).z, boneAt(s, "PELVIS").z) << "toes point +z";
        }
        EXPECT_GT(boneAt(s, "HEAD").y, boneAt(s, "NECK").y);
        EXPECT_LT(boneAt(s, "L_HAND").x, 0.0F) << "left is -x";
    }
    EXPECT_NEAR(boneAt(posedSkeleton("adult-skeleton.cmx"), "HEAD").y, 5.05F, 0.01F);
}

TEST(SimPose, LeftAndRightMirrorEachOther) {
    if (!haveBodies()) {
        GTEST_SKIP() << "no real-world bodies beside the project";
    }
    const RealAdult adult = realAdult();
    for (const std::string& name : adult.skeleton.names) {
        if (name.starts_with("L_")) {
            const Vec3 left = boneAt(adult.skeleton, name);
            const Vec3 right = boneAt(adult.skeleton, "R_" + name.substr(2));
            EXPECT_NEAR(left.x, -right.x, 0.02F) << name;
            EXPECT_NEAR(left.y, right.y, 0.02F) << name;
            EXPECT_NEAR(left.z, right.z, 0.02F) << name;
        }
    }
    const BoundingBox body = boundingBox(adult.body);
    EXPECT_NEAR(body.min.x, -body.max.x, 0.01F);
    const Vec3 left = centre(adult.leftHand);
    const Vec3 right = centre(adult.rightHand);
    EXPECT_NEAR(left.x, -right.x, 0.02F);
    EXPECT_NEAR(left.y, right.y, 0.02F);
}

TEST(SimPose, RealAdultWearsBodyHeadAndHands) {
    if (!haveBodies()) {
        GTEST_SKIP() << "no real-world bodies beside the project";
    }
    const RealAdult adult = realAdult();
    EXPECT_EQ(adult.body.vertexCount(), 495U);
    EXPECT_EQ(adult.body.triangles.size(), 580U);
    const BoundingBox body = boundingBox(adult.body);
    EXPECT_NEAR(body.min.y, 0.0F, 0.02F);
    const BoundingBox head = boundingBox(adult.head);
    EXPECT_GT(head.min.y, 0.9F * body.max.y);
    EXPECT_GT(head.max.y, body.max.y);
    for (const auto& [mesh, bone] :
         {std::pair{&adult.leftHand, "L_HAND"}, std::pair{&adult.rightHand, "R_HAND"}}) {
        EXPECT_LT(length(centre(*mesh) - boneAt(adult.skeleton, bone)), 0.3F) << bone;
    }
    EXPECT_LT(centre(adult.leftHand).x, body.min.x + 0.2F) << "at the end of the left arm";
    for (const PosedVertex& v : adult.head.vertices) {
        EXPECT_TRUE(v.u >= 0 && v.u <= 1 && v.v >= 0 && v.v <= 1);
        EXPECT_NEAR(length(v.normal), 1.0F, 1e-3F);
    }
}

TEST(SimPose, BlendsMixIntoTheVertexTheyNameAndMissingBonesAreNamed) {
    Skeleton skeleton;
    skeleton.bones.resize(2);
    skeleton.bones[0].name = "ROOT";
    skeleton.bones[0].parent = "NULL";
    skeleton.bones[1].name = "ARM";
    skeleton.bones[1].parent = "ROOT";
    skeleton.bones[1].translation = {2, 0, 0};
    const Result<PosedSkeleton> posed = poseSkeleton(skeleton);
    ASSERT_TRUE(posed.ok());
    Mesh mesh;
    mesh.name = "m";
    mesh.boneNames = {"root", "arm"};
    mesh.bindings = {{0, 0, 1, -1, 0}, {1, 0, 0, 0, 1}};
    mesh.blends = {{0, 8192}};
    mesh.vertices = {{{0, 0, 0}, {0, 1, 0}}, {{0, 0, 0}, {0, 1, 0}}};
    mesh.texCoords = {{1.5F, -0.5F}};
    const Result<PosedMesh> out = poseMesh(mesh, posed.value());
    ASSERT_TRUE(out.ok());
    ASSERT_EQ(out.value().vertexCount(), 1U);
    EXPECT_FLOAT_EQ(out.value().vertices[0].position.x, 0.5F);
    EXPECT_EQ(out.value().vertices[0].u, 1.0F);
    EXPECT_EQ(out.value().vertices[0].v, 0.0F);

    mesh.boneNames[1] = "TAIL";
    const Result<PosedMesh> missing = poseMesh(mesh, posed.value());
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().kind, SimErrorKind::MissingBone);
    EXPECT_TRUE(describe(missing.error()).contains("TAIL"));
}

TEST(SimPose, BinaryFormsReadAndPoseAsTheirTextForms) {
    if (!haveBodies()) {
        GTEST_SKIP() << "no real-world bodies beside the project";
    }
    const Result<CharacterFile> text = parseCmx(readBody("adult-skeleton.cmx").toStdString());
    ASSERT_TRUE(text.ok());
    CharacterFile both = text.value();
    both.suits = parseCmx(readBody("C003FA_longhair.cmx").toStdString()).value().suits;
    const Result<CharacterFile> binary = parseBcf(vestimo::test::writeBcf(both));
    ASSERT_TRUE(binary.ok()) << describe(binary.error()).toStdString();
    ASSERT_EQ(binary.value().skeletons.size(), 1U);
    EXPECT_EQ(binary.value().suits.at(0).skins.at(0).meshName, both.suits[0].skins[0].meshName);
    const PosedSkeleton fromText = poseSkeleton(both.skeletons[0]).value();
    const PosedSkeleton fromBinary = poseSkeleton(binary.value().skeletons[0]).value();
    EXPECT_EQ(fromBinary.names, fromText.names);

    for (const QString file : {"xskin-b001fafit_01-PELVIS-BODY.skn", "xskin-hmlo-L_HAND-HANDML.skn"}) {
        const Result<Mesh> mesh = parseSkn(readBody(file).toStdString());
        ASSERT_TRUE(mesh.ok());
        const Result<Mesh> bmf = parseBmf(vestimo::test::writeBmf(mesh.value()));
        ASSERT_TRUE(bmf.ok()) << describe(bmf.error()).toStdString();
        EXPECT_EQ(bmf.value().faces, mesh.value().faces);
        const PosedMesh a = poseMesh(mesh.value(), fromText).value();
        const PosedMesh b = poseMesh(bmf.value(), fromBinary).value();
        ASSERT_EQ(a.vertexCount(), b.vertexCount());
        EXPECT_EQ(a.triangles, b.triangles);
        for (std::size_t i = 0; i < a.vertexCount(); ++i) {
            EXPECT_LT(length(a.vertices[i].position - b.vertices[i].position), 1e-5F) << i;
        }
    }
}
