#include "core/report/SkinSetReport.h"
#include "core/catalogue/Report.h"
#include "samples/BmpSamples.h"
#include "samples/CmxSamples.h"
#include "support/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string>

namespace vestimo::report {

void PrintTo(const ReportRow& row, std::ostream* out) {
    *out << "{kind " << static_cast<int>(row.kind) << ", files [" << row.files.join(u',').toStdString()
         << "], \"" << row.description.toStdString() << "\", \"" << row.advice.toStdString() << "\", tones ["
         << row.tonesPresent.join(u',').toStdString() << "] without ["
         << row.tonesMissing.join(u',').toStdString() << "], mesh " << static_cast<int>(row.mesh) << " "
         << row.meshName.toStdString() << "}";
}

namespace {

using test::TempDir;

QByteArray bytesOf(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}
QByteArray bmp(std::uint32_t seed, int size = 32) {
    return bytesOf(samples::MakeBmp({.width = size, .height = size, .bitsPerPixel = 24, .seed = seed}));
}
QByteArray bodyCmx(const std::string& base) {
    return bytesOf(samples::ValidBodyCmx(base));
}

ReportRow row(RowKind kind, QStringList files, QString description, QString advice) {
    ReportRow r;
    r.kind = kind;
    r.files = std::move(files);
    r.description = std::move(description);
    r.advice = std::move(advice);
    return r;
}

ReportRow bodyRow(const QString& cmx, QStringList present, QStringList missing, MeshState mesh,
                  const QString& meshName, QString description, QString advice) {
    ReportRow r = row(RowKind::BodySkin, {cmx}, std::move(description), std::move(advice));
    r.tonesPresent = std::move(present);
    r.tonesMissing = std::move(missing);
    r.mesh = mesh;
    r.meshName = meshName;
    return r;
}

// One folder with every situation the report knows, and the exact rows it must give.
TEST(SkinSetReport, GeneratedFolderGivesExactlyTheseRowsInThisOrder) {
    TempDir dir;
    // A complete body skin: three tones, its mesh.
    dir.write("B001FAFit_Full.cmx", bodyCmx("B001FAFit_Full"));
    dir.write("B001FAFitlgt_Full.bmp", bmp(1));
    dir.write("B001FAFitmed_Full.bmp", bmp(2)); // same length as the others, other content
    dir.write("B001FAFitdrk_Full.bmp", bmp(3));
    dir.write("xskin-B001FAFit_Full-PELVIS-BODY.skn", "mesh one");
    // Tone found without regard to case; "_drk" after the prefix is not a tone; mesh in other case.
    dir.write("B002MAFat_Part.cmx", bodyCmx("B002MAFat_Part"));
    dir.write("b002mafatLGT_part.bmp", bmp(4, 64));
    dir.write("B002MAFat_drk.bmp", bmp(5, 16));
    dir.write("xskin-b002mafat_part-PELVIS-BODY.skn", "mesh two!");
    // No bitmap, no mesh, and line 5 names another skin; a copy of it under another name.
    const QByteArray misnamed =
        bytesOf(samples::ReplaceCmxLine(samples::ValidBodyCmx("B003FCChd_None"), 5, "Someone Else"));
    dir.write("B003FCChd_None.cmx", misnamed);
    dir.write("B003_backup.txt", misnamed);
    // Ends before line 5.
    dir.write("B006FAFit_Short.cmx",
              "// Character File. Copyright 1997, Maxis Inc.\r\nversion 300\r\n0\r\n1\r\n");
    // A head skin: its bitmap is claimed, line 5 matches without regard to case, no body row.
    dir.write("C004MA_Face.cmx", bodyCmx("c004ma_FACE"));
    dir.write("C004MAlgt_face.bmp", bmp(6, 8));
    // An animation with a skin name is not held to line 5; a CMX outside the classes is ignored.
    dir.write("B007FAAni_Walk.cmx", bytesOf(samples::AnimationCmx()));
    dir.write("a1.cmx", "whatever");
    // Bitmaps no prefix claims, one a copy of a claimed one.
    dir.write("Z999_Stray.bmp", bmp(7, 4));
    dir.write("Z999_Copy.bmp", bmp(1));
    // Names equal but for case; empty files are never called identical.
    dir.write("readme.txt", "one");
    dir.write("README.TXT", "second");
    dir.write("empty1.txt", "");
    dir.write("empty2.txt", "");

    const SkinSetReport report = makeSkinSetReport(dir.path());
    ASSERT_TRUE(report.ok) << report.error.toStdString();

    const QList<ReportRow> expected = {
        bodyRow("B001FAFit_Full.cmx", {"lgt", "med", "drk"}, {}, MeshState::Present,
                "xskin-B001FAFit_Full-PELVIS-BODY.skn",
                "Skin tones with a bitmap: lgt, med, drk. Without one: none. "
                "Mesh xskin-B001FAFit_Full-PELVIS-BODY.skn is present.",
                "Nothing to do."),
        bodyRow(
            "B002MAFat_Part.cmx", {"lgt"}, {"med", "drk"}, MeshState::CaseDiffers,
            "xskin-B002MAFat_Part-PELVIS-BODY.skn",
            "Skin tones with a bitmap: lgt. Without one: med, drk. Mesh xskin-B002MAFat_Part-PELVIS-BODY.skn "
            "is present as xskin-b002mafat_part-PELVIS-BODY.skn, whose name differs in case: the game finds "
            "it; other tools may not.",
            "Add a bitmap for each missing tone: B002MAFatmed_Part.bmp, B002MAFatdrk_Part.bmp."),
        bodyRow("B003FCChd_None.cmx", {}, {"lgt", "med", "drk"}, MeshState::Missing,
                "xskin-B003FCChd_None-PELVIS-BODY.skn",
                texts::reportTones("none", "lgt, med, drk") + " " +
                    texts::reportMeshMissing("xskin-B003FCChd_None-PELVIS-BODY.skn"),
                texts::reportAddTones("B003FCChdlgt_None.bmp, B003FCChdmed_None.bmp, B003FCChddrk_None.bmp") +
                    " " + texts::reportAddMesh("xskin-B003FCChd_None-PELVIS-BODY.skn")),
        bodyRow(
            "B006FAFit_Short.cmx", {}, {"lgt", "med", "drk"}, MeshState::Missing,
            "xskin-B006FAFit_Short-PELVIS-BODY.skn",
            texts::reportTones("none", "lgt, med, drk") + " " +
                texts::reportMeshMissing("xskin-B006FAFit_Short-PELVIS-BODY.skn"),
            texts::reportAddTones("B006FAFitlgt_Short.bmp, B006FAFitmed_Short.bmp, B006FAFitdrk_Short.bmp") +
                " " + texts::reportAddMesh("xskin-B006FAFit_Short-PELVIS-BODY.skn")),
        bodyRow("B007FAAni_Walk.cmx", {}, {"lgt", "med", "drk"}, MeshState::Missing,
                "xskin-B007FAAni_Walk-PELVIS-BODY.skn",
                texts::reportTones("none", "lgt, med, drk") + " " +
                    texts::reportMeshMissing("xskin-B007FAAni_Walk-PELVIS-BODY.skn"),
                texts::reportAddTones("B007FAAnilgt_Walk.bmp, B007FAAnimed_Walk.bmp, B007FAAnidrk_Walk.bmp") +
                    " " + texts::reportAddMesh("xskin-B007FAAni_Walk-PELVIS-BODY.skn")),
        row(RowKind::NameMismatch, {"B003FCChd_None.cmx"},
            "Line 5 names the skin \"Someone Else\", but the file is named B003FCChd_None; a skin whose "
            "names "
            "differ often never shows up in the game.",
            "Write B003FCChd_None on line 5 in the CMX editor, or rename the file to match line 5."),
        row(RowKind::NameMismatch, {"B006FAFit_Short.cmx"}, texts::reportNoLine5(),
            texts::reportWriteName("B006FAFit_Short")),
        row(RowKind::UnclaimedBitmap, {"Z999_Copy.bmp"}, texts::reportUnclaimedBitmap(),
            texts::reportClaimBitmap()),
        row(RowKind::UnclaimedBitmap, {"Z999_Stray.bmp"}, texts::reportUnclaimedBitmap(),
            texts::reportClaimBitmap()),
        row(RowKind::CaseTwins, {"README.TXT", "readme.txt"},
            "These names differ only in case; the game treats them as one file.", texts::reportKeepOneName()),
        row(RowKind::IdenticalContent, {"B001FAFitlgt_Full.bmp", "Z999_Copy.bmp"},
            texts::reportIdenticalContent(bmp(1).size()), texts::reportRemoveCopies()),
        row(RowKind::IdenticalContent, {"B003_backup.txt", "B003FCChd_None.cmx"},
            texts::reportIdenticalContent(misnamed.size()), texts::reportRemoveCopies()),
    };
    ASSERT_EQ(report.rows.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(report.rows[i], expected[i]) << "row " << i;
    }
}

TEST(SkinSetReport, PrefixesOfEveryLengthClaimTheirBitmapsAndTonesOnlyRightAfterThem) {
    TempDir dir;
    // A pet skin's prefix is seven characters, a head's six; a name shorter than its prefix length
    // keeps its extension in the prefix, so nothing after it is a tone.
    dir.write("B010CAx_Tabby.cmx", bodyCmx("B010CAx_Tabby"));
    dir.write("b010caxMED_tabby.BMP", bmp(1));
    dir.write("C020FA_Head.cmx", bytesOf(samples::ValidHeadCmx("C020FA_Head")));
    dir.write("C020FAanything.bmp", bmp(2, 8));
    dir.write("B030FA.cmx", bodyCmx("B030FA"));
    dir.write("B030FA.cmlgt.bmp", bmp(3, 4));
    dir.write("B030FAFitlgt.bmp", bmp(4, 16)); // the prefix is "B030FA.cm", so this one is nobody's
    dir.write("B040FAFit_A.cmx", bodyCmx("B040FAFit_A"));
    dir.write("B040FAFitlgt.bmp", bmp(5, 64)); // the tone needs ".bmp" after it, and has it
    dir.write("B040FAFitmed", bmp(6, 64));     // not a bitmap at all

    const SkinSetReport report = makeSkinSetReport(dir.path());
    ASSERT_TRUE(report.ok);
    ASSERT_EQ(report.rows.size(), 4);
    EXPECT_EQ(report.rows[0].files, QStringList{"B010CAx_Tabby.cmx"});
    EXPECT_EQ(report.rows[0].tonesPresent, QStringList{"med"});
    EXPECT_EQ(report.rows[1].files, QStringList{"B030FA.cmx"});
    EXPECT_EQ(report.rows[1].tonesPresent, QStringList{"lgt"});
    EXPECT_EQ(report.rows[1].tonesMissing, (QStringList{"med", "drk"}));
    EXPECT_EQ(report.rows[1].advice, texts::reportAddTones("B030FA.cmmed.bmp, B030FA.cmdrk.bmp") + " " +
                                         texts::reportAddMesh("xskin-B030FA-PELVIS-BODY.skn"));
    EXPECT_EQ(report.rows[2].files, QStringList{"B040FAFit_A.cmx"});
    EXPECT_EQ(report.rows[2].tonesPresent, QStringList{"lgt"});
    EXPECT_EQ(report.rows[3].kind, RowKind::UnclaimedBitmap);
    EXPECT_EQ(report.rows[3].files, QStringList{"B030FAFitlgt.bmp"});
}

TEST(SkinSetReport, Line5IsReadAsTheCmxRulesReadLines) {
    TempDir dir;
    // A bare line feed does not end a line, so line 5 of this file is not the name.
    dir.write("B050FAFit_Lf.cmx", "h\nversion 300\n0\n1\nB050FAFit_Lf\n0\n");
    // A tab and a bare line feed inside line 5 are part of it, shown as their pictures.
    dir.write("B055FAFit_Tab.cmx", "h\r\nversion 300\r\n0\r\n1\r\nB055FAFit\tTab\n\r\n0\r\n");
    // CR alone ends lines too; the name is in the players' code page (0xE9 is "é").
    dir.write("B060FAFit_\xC3\xA9t\xC3\xA9.cmx", "h\rversion 300\r0\r1\rB060FAFit_\xC9T\xC9\r0\r");
    // A trailing blank is part of the line.
    dir.write("B070FAFit_Blank.cmx", "h\r\nversion 300\r\n0\r\n1\r\nB070FAFit_Blank \r\n");
    // An empty line 5 is a line; a file ending right after line 4 has none.
    dir.write("B080FAFit_Empty.cmx", "h\r\nversion 300\r\n0\r\n1\r\n\r\n");

    const SkinSetReport report = makeSkinSetReport(dir.path());
    ASSERT_TRUE(report.ok);
    QStringList mismatched;
    for (const ReportRow& r : report.rows) {
        if (r.kind == RowKind::NameMismatch) {
            mismatched.append(r.files);
        }
    }
    EXPECT_EQ(mismatched, (QStringList{"B050FAFit_Lf.cmx", "B055FAFit_Tab.cmx", "B070FAFit_Blank.cmx",
                                       "B080FAFit_Empty.cmx"}));
    for (const ReportRow& r : report.rows) {
        if (r.kind == RowKind::NameMismatch && r.files.first() == "B050FAFit_Lf.cmx") {
            EXPECT_EQ(r.description, texts::reportNoLine5()) << "bare line feeds end no line";
        }
        if (r.kind == RowKind::NameMismatch && r.files.first() == "B055FAFit_Tab.cmx") {
            EXPECT_EQ(r.description, texts::reportNameMismatch(
                                         QString::fromUtf16(u"B055FAFit\u2409Tab\u240A"), "B055FAFit_Tab"));
            EXPECT_EQ(reportText({r}).count(u'\n'), 1);
            EXPECT_EQ(reportText({r}).count(u'\t'), 3);
        }
        if (r.kind == RowKind::NameMismatch && r.files.first() == "B080FAFit_Empty.cmx") {
            EXPECT_EQ(r.description, texts::reportNameMismatch("", "B080FAFit_Empty"));
        }
    }
}

TEST(SkinSetReport, FilesThatCannotBeReadOrNamedAreReportedNotSkippedSilently) {
    TempDir dir;
    dir.write("B090FAFit_Locked.cmx", bodyCmx("B090FAFit_Locked"));
    dir.write("same1.dat", "twin");
    const QString locked = dir.write("same2.dat", "twin");
    const std::string stray = dir.pathStd() + "/bad\xFFname.bmp";
    const int fd = ::open(stray.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    // The temporary folder cannot remove a name that is not text; this test does.
    const std::unique_ptr<const std::string, void (*)(const std::string*)> removeStray(
        &stray, [](const std::string* path) { ::unlink(path->c_str()); });
    const QByteArray lockedCmx = QFile::encodeName(dir.filePath("B090FAFit_Locked.cmx"));
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0), 0);
    ASSERT_EQ(::chmod(lockedCmx.constData(), 0), 0);
    // Readable again afterwards, so the folder can be removed.
    const std::unique_ptr<const QString, void (*)(const QString*)> unlock(
        &locked, [](const QString* path) { ::chmod(QFile::encodeName(*path).constData(), 0644); });
    const std::unique_ptr<const QByteArray, void (*)(const QByteArray*)> unlockCmx(
        &lockedCmx, [](const QByteArray* path) { ::chmod(path->constData(), 0644); });
    if (::access(QFile::encodeName(locked).constData(), R_OK) == 0) {
        GTEST_SKIP() << "permissions are not enforced for this user";
    }

    const SkinSetReport report = makeSkinSetReport(dir.path());
    ASSERT_TRUE(report.ok);
    QList<QStringList> unreadable;
    for (const ReportRow& r : report.rows) {
        EXPECT_NE(r.kind, RowKind::IdenticalContent);
        EXPECT_NE(r.kind, RowKind::NameMismatch);
        if (r.kind == RowKind::Unreadable) {
            unreadable.append(r.files);
            EXPECT_EQ(r.advice, r.files.first().startsWith("bad") ? texts::reportRenamePlainly()
                                                                  : texts::reportMakeReadable());
        }
    }
    EXPECT_EQ(unreadable,
              (QList<QStringList>{{"B090FAFit_Locked.cmx"}, {"bad\uFFFDname.bmp"}, {"same2.dat"}}));
}

// The identical-content rows of `dir`, each as its files.
QList<QStringList> identicalGroups(const TempDir& dir) {
    const SkinSetReport report = makeSkinSetReport(dir.path());
    EXPECT_TRUE(report.ok);
    QList<QStringList> groups;
    for (const ReportRow& r : report.rows) {
        if (r.kind == RowKind::IdenticalContent) {
            groups.append(r.files);
        }
    }
    return groups;
}

TEST(SkinSetReport, LongFilesOfOneLengthAreTwinsOnlyWhenEveryByteAgrees) {
    TempDir dir;
    // Textures of one size: equal length, the same headers.
    const QByteArray first = bmp(1, 256);
    const QByteArray second = bmp(2, 256);
    ASSERT_EQ(first.size(), second.size());
    ASSERT_GT(first.size(), 64 * 1024);
    dir.write("a.bmp", first);
    dir.write("b.bmp", first);
    QByteArray early = first;
    early[60] = static_cast<char>(early[60] ^ 0x55); // differs only far from its end
    dir.write("c.bmp", early);
    dir.write("d.bmp", second);
    dir.write("e.bmp", second);
    QByteArray late = second;
    late[late.size() - 1] = static_cast<char>(late[late.size() - 1] ^ 0x55);
    dir.write("f.bmp", late);
    EXPECT_EQ(identicalGroups(dir), (QList<QStringList>{{"a.bmp", "b.bmp"}, {"d.bmp", "e.bmp"}}));
}

TEST(SkinSetReport, ManyLargeDistinctFilesWithTheSameEndingAreStillToldApart) {
    TempDir dir;
    // Past the room kept for comparing contents, the rest of such a group is hashed.
    QByteArray big(9 * 1024 * 1024, 'x');
    for (const char lead : {'a', 'b', 'c'}) {
        big[0] = lead;
        dir.write(QString(QLatin1Char(lead)) + "1.dat", big);
    }
    big[0] = 'c';
    dir.write("c2.dat", big);
    big[0] = 'b';
    dir.write("b2.dat", big);
    EXPECT_EQ(identicalGroups(dir), (QList<QStringList>{{"b1.dat", "b2.dat"}, {"c1.dat", "c2.dat"}}));
}

TEST(SkinSetReport, FilesOfOneLengthAndEndingThatDifferInTheMiddleAreNotIdentical) {
    TempDir dir;
    // Short files are read whole and long ones in pieces; either way every byte counts.
    for (const int length : {10 * 1024, 200 * 1024}) {
        QByteArray bytes(length, 'm');
        bytes[0] = 'H';
        const QString stem = QString::number(length);
        dir.write(stem + "-a.dat", bytes);
        dir.write(stem + "-b.dat", bytes);
        bytes[length / 2] = 'X';
        dir.write(stem + "-c.dat", bytes);
    }
    EXPECT_EQ(identicalGroups(dir),
              (QList<QStringList>{{"10240-a.dat", "10240-b.dat"}, {"204800-a.dat", "204800-b.dat"}}));
}

TEST(SkinSetReport, ManyDistinctShortFilesOfOneLengthAreStillGroupedByEveryByte) {
    TempDir dir;
    // More distinct contents than are kept for comparing: the later ones are compared with their
    // first file read again.
    constexpr int Files = 300;
    QByteArray bytes(60 * 1024, 'q');
    for (int i = 0; i < Files; ++i) {
        bytes[0] = static_cast<char>('A' + i % 26);
        bytes[1] = static_cast<char>('A' + i / 26);
        dir.write(QString("f%1.dat").arg(i, 3, 10, QLatin1Char('0')), bytes);
    }
    // The last file written again: a copy of a content that was not kept.
    dir.write("g-copy.dat", bytes);
    // Its length and first bytes, another middle.
    bytes[30 * 1024] = 'Z';
    dir.write("h-other.dat", bytes);
    // A copy of the first content, which was kept.
    bytes = QByteArray(60 * 1024, 'q');
    bytes[0] = 'A';
    bytes[1] = 'A';
    dir.write("a-copy.dat", bytes);
    EXPECT_EQ(identicalGroups(dir),
              (QList<QStringList>{{"a-copy.dat", "f000.dat"}, {"f299.dat", "g-copy.dat"}}));
}

TEST(SkinSetReport, ALongSkinCmxFileAndItsCopyAreIdentical) {
    TempDir dir;
    // Skin CMX files are read whole for line 5; a long one still meets the long files of its length.
    QByteArray cmx = bodyCmx("B100FAFit_Long");
    cmx.append(QByteArray(100 * 1024, ' '));
    dir.write("B100FAFit_Long.cmx", cmx);
    dir.write("B100_backup.txt", cmx);
    QByteArray other = cmx;
    other[cmx.size() / 2] = '#';
    dir.write("B100_other.txt", other);
    EXPECT_EQ(identicalGroups(dir), (QList<QStringList>{{"B100_backup.txt", "B100FAFit_Long.cmx"}}));
}

TEST(SkinSetReport, FilesAreReadThroughTheirLinks) {
    TempDir dir;
    TempDir elsewhere;
    const QByteArray picture = bmp(9, 256); // long enough to be compared in pieces
    dir.write("a.bmp", picture);
    const QString kept = elsewhere.write("kept.bmp", picture);
    ASSERT_EQ(::symlink(QFile::encodeName(kept).constData(),
                        QFile::encodeName(dir.filePath("link.bmp")).constData()),
              0);
    dir.write("m.dat", "mesh");
    const QString mesh = elsewhere.write("mesh.dat", "mesh");
    ASSERT_EQ(
        ::symlink(QFile::encodeName(mesh).constData(), QFile::encodeName(dir.filePath("n.dat")).constData()),
        0);
    EXPECT_EQ(identicalGroups(dir), (QList<QStringList>{{"a.bmp", "link.bmp"}, {"m.dat", "n.dat"}}));
}

TEST(SkinSetReport, EmptySkinCmxFilesHaveNoLine5AndNoTwins) {
    TempDir dir;
    dir.write("B200FAFit_Empty.cmx", "");
    dir.write("B201FAFit_Empty.cmx", "");
    const SkinSetReport report = makeSkinSetReport(dir.path());
    ASSERT_TRUE(report.ok);
    QList<QStringList> mismatched;
    for (const ReportRow& r : report.rows) {
        EXPECT_NE(r.kind, RowKind::IdenticalContent);
        if (r.kind == RowKind::NameMismatch) {
            mismatched.append(r.files);
            EXPECT_EQ(r.description, texts::reportNoLine5());
        }
    }
    EXPECT_EQ(mismatched, (QList<QStringList>{{"B200FAFit_Empty.cmx"}, {"B201FAFit_Empty.cmx"}}));
}

TEST(SkinSetReport, RowsCopyAsOneTabSeparatedLineEach) {
    TempDir dir;
    dir.write("Z1.bmp", bmp(1, 4));
    dir.write("z1.BMP", bmp(2, 8));
    const SkinSetReport report = makeSkinSetReport(dir.path());
    ASSERT_TRUE(report.ok);
    EXPECT_EQ(reportText(report.rows),
              "Bitmap without skin\tZ1.bmp\t" + texts::reportUnclaimedBitmap() + "\t" +
                  texts::reportClaimBitmap() +
                  "\n"
                  "Bitmap without skin\tz1.BMP\t" +
                  texts::reportUnclaimedBitmap() + "\t" + texts::reportClaimBitmap() +
                  "\n"
                  "Names differ only in case\tZ1.bmp, z1.BMP\t" +
                  texts::reportCaseTwins() + "\t" + texts::reportKeepOneName() + "\n");
    EXPECT_EQ(rowKindText(RowKind::BodySkin), "Body skin");
    EXPECT_EQ(rowKindText(RowKind::Unreadable), "Not read");
}

TEST(SkinSetReport, EmptyAndMissingFolders) {
    TempDir dir;
    const SkinSetReport empty = makeSkinSetReport(dir.path());
    EXPECT_TRUE(empty.ok);
    EXPECT_TRUE(empty.rows.isEmpty());

    const SkinSetReport missing = makeSkinSetReport(dir.filePath("not-there"));
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.error.isEmpty());
    EXPECT_TRUE(missing.rows.isEmpty());
}

} // namespace
} // namespace vestimo::report
