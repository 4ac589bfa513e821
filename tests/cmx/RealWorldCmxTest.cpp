#include "core/cmx/CheckCmxFile.h"
#include "core/cmx/CmxFileSource.h"
#include "core/cmx/CmxLayout.h"
#include "core/cmx/CmxWalk.h"

#include "support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>

#include <map>

using namespace vestimo::cmx;

namespace {

QStringList RealFiles() {
    return QDir(vestimo::test::realWorldDir() + "/cmx").entryList({"*.cmx"}, QDir::Files, QDir::Name);
}

std::string Dir() {
    return (vestimo::test::realWorldDir() + "/cmx").toStdString();
}

} // namespace

TEST(RealWorldCmx, EveryFileIsClassedAndWalkedToAVerdict) {
    const QStringList files = RealFiles();
    if (files.isEmpty()) {
        GTEST_SKIP() << "no real-world samples beside the project";
    }
    int walked = 0;
    for (const QString& name : files) {
        const std::string key = classKey(name.toStdString());
        ASSERT_FALSE(key.empty());
        CmxFileSource source(Dir() + "/" + name.toStdString());
        ASSERT_TRUE(source.isOpen()) << name.toStdString();
        const WalkVerdict verdict = walkCmxLines(source, true);
        EXPECT_TRUE(source.error().empty());
        EXPECT_TRUE(verdict.kind != WalkVerdict::Kind::Fault || (verdict.line >= 2 && verdict.line <= 48));
        ++walked;
    }
    EXPECT_GE(walked, 90);
}

// Verdicts worked out by hand from the files' lines.
TEST(RealWorldCmx, ChosenFilesGiveTheVerdictsWorkedOutByHand) {
    if (RealFiles().isEmpty()) {
        GTEST_SKIP() << "no real-world samples beside the project";
    }
    const std::map<std::string, std::string> expected = {
        {"B001FAFat_01.cmx", "No Errors Found."},
        {"C001FC_Amanda.cmx", "No Errors Found."},
        {"adult-idle1.cmx", "This is an animation or another cmx type we can't check, so we can't deal with "
                            "it at this time, sorry."},
    };
    for (const auto& [name, message] : expected) {
        EXPECT_EQ(checkCmxFile(true, vestimo::FileFilter::CmxFiles, QString::fromStdString(Dir()),
                               QString::fromStdString(name), QString::fromStdString(name))
                      .toStdString(),
                  message)
            << name;
    }
}
