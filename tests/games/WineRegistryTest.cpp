#include "core/games/WineRegistry.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace vestimo::core::games {
namespace {

const QByteArray Header = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n";

TEST(WineRegistry, FindsInstallPathUnderBothKeys) {
    const QByteArray text = Header + "[Software\\\\Maxis\\\\The Sims] 1700000000\n"
                                     "#time=1d9e0a7b3c4f5a6\n"
                                     "\"Installed\"=dword:00000001\n"
                                     "\"InstallPath\"=\"C:\\\\Program Files\\\\Maxis\\\\The Sims\"\n"
                                     "\n"
                                     "[Software\\\\Microsoft\\\\Other] 1700000000\n"
                                     "\"InstallPath\"=\"C:\\\\Not\\\\This\"\n"
                                     "\n"
                                     "[Software\\\\Wow6432Node\\\\Maxis\\\\The Sims] 1700000000\r\n"
                                     "\"InstallPath\"=\"D:\\\\Games\\\\The Sims Legacy\"\r\n";
    EXPECT_EQ(installPathsInRegistry(text),
              QStringList({"C:\\Program Files\\Maxis\\The Sims", "D:\\Games\\The Sims Legacy"}));
}

TEST(WineRegistry, KeysAndNamesWithoutRegardToCaseAndWithWinesPrefixes) {
    EXPECT_TRUE(isGameKey("software\\maxis\\THE SIMS"));
    EXPECT_TRUE(isGameKey("Machine\\Software\\Maxis\\The Sims"));
    EXPECT_TRUE(isGameKey("\\Machine\\Software\\Wow6432Node\\Maxis\\The Sims\\"));
    EXPECT_TRUE(isGameKey("Software\\Classes\\Software\\Maxis\\The Sims"));
    EXPECT_FALSE(isGameKey("Software\\Maxis\\The Sims 2"));
    EXPECT_FALSE(isGameKey("Software\\Maxis"));
    EXPECT_FALSE(isGameKey("Software\\Maxis\\The Sims\\Expansions"));

    const QByteArray text = Header + "[MACHINE\\\\SOFTWARE\\\\maxis\\\\the sims] 1\n"
                                     "\"installpath\"=\"E:\\\\Sims\"\n"
                                     "[Software\\\\Maxis\\\\The Sims\\\\Expansions] 1\n"
                                     "\"InstallPath\"=\"C:\\\\Expansion\"\n";
    EXPECT_EQ(installPathsInRegistry(text), QStringList({"E:\\Sims"}));
}

TEST(WineRegistry, EscapesInKeysAndValues) {
    EXPECT_EQ(unescapeRegistryString("C:\\\\Caf\\x00e9\\\\\\\"q\\\" tab\\tend"),
              QString::fromUtf16(u"C:\\Café\\\"q\" tab\tend"));
    EXPECT_EQ(unescapeRegistryString("\\xe9t\\x4e2d"), QString::fromUtf16(u"ét中"));
    EXPECT_EQ(unescapeRegistryString("a\\101\\7b\\x"), QString::fromUtf16(u"aA\u0007bx"));
    EXPECT_EQ(unescapeRegistryString("trailing\\"), QString("trailing\\"));
    EXPECT_EQ(unescapeRegistryString("d\xc3\xa9j\xc3\xa0"), QString::fromUtf16(u"déjà"));

    // A key written with an escaped letter, a value with \x escapes and a bracket in the key.
    const QByteArray text = Header + "[Software\\\\M\\x61xis\\\\The Sims] 1\n"
                                     "\"InstallPath\"=\"C:\\\\Jeux\\\\Les Sims \\x00e9dition\"\n"
                                     "[Software\\\\Maxis\\\\The Sims\\]x] 1\n"
                                     "\"InstallPath\"=\"C:\\\\Wrong\"\n";
    // "M\x61xis" does not spell "maxis" in the raw line, which Wine never writes for ASCII letters.
    EXPECT_TRUE(installPathsInRegistry(text).isEmpty());
    const QByteArray plain = Header + "[Software\\\\Maxis\\\\The Sims] 1\n"
                                      "\"Install\\x0050ath\"=\"C:\\\\Jeux\\\\Les Sims \\x00e9dition\"\n";
    EXPECT_EQ(installPathsInRegistry(plain),
              QStringList({QString::fromUtf16(u"C:\\Jeux\\Les Sims édition")}));
}

TEST(WineRegistry, ValueForms) {
    const QByteArray text = Header + "[Software\\\\Maxis\\\\The Sims] 1\n"
                                     "\"InstallPath\"=str(2):\"%ProgramFiles%\\\\Maxis\"\n"
                                     "\"InstallPath\"=str(2):\"F:\\\\Expanded\"\n"
                                     "\"InstallPath\"=hex(2):43,00,3a,00\n"
                                     "\"InstallPath\" = \"G:\\\\Spaced\"\n"
                                     "\"InstallPath\"=\"G:\\\\Spaced\"\n"
                                     "\"InstallPath\"=\"\"\n"
                                     "\"InstallPath\"=\"H:\\\\Unclosed\n"
                                     "  43,00,3a,00\n"
                                     "@=\"C:\\\\Default\"\n";
    EXPECT_EQ(installPathsInRegistry(text), QStringList({"F:\\Expanded", "G:\\Spaced"}));
}

TEST(WineRegistry, OnlyWinesRegistryFiles) {
    const QByteArray body = "[Software\\\\Maxis\\\\The Sims] 1\n\"InstallPath\"=\"C:\\\\Sims\"\n";
    EXPECT_TRUE(installPathsInRegistry("REGEDIT4\n" + body).isEmpty());
    EXPECT_TRUE(installPathsInRegistry(body).isEmpty());
    EXPECT_EQ(installPathsInRegistry("\n\xEF\xBB\xBFWINE REGISTRY Version 2\n" + body),
              QStringList({"C:\\Sims"}));
}

TEST(WineRegistry, GarbageNeverCrashesAndKeepsWhatItCanRead) {
    const QByteArray good = "[Software\\\\Maxis\\\\The Sims] 1\n\"InstallPath\"=\"C:\\\\Sims\"\n";
    QByteArray noise;
    quint32 seed = 11;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245u + 12345u;
        noise.append(static_cast<char>("[]\"\\=x0 \nM"[(seed >> 16) % 10]));
    }
    const QByteArray text =
        Header + "[\n[\\\n\"\n\"\\\n\"InstallPath\"\n[Software\\\\Maxis\\\\The Sims\n\"InstallPath\"=\n" +
        noise + "\n" + good + QByteArray("\0\xff[\\x", 5);
    EXPECT_TRUE(installPathsInRegistry(text).contains("C:\\Sims"));
    installPathsInRegistry(Header + QByteArray(100000, '\\'));
    installPathsInRegistry(Header + "[" + QByteArray(100000, '\\'));
}

TEST(WineRegistry, OnlyTheFirstCandidatesAreKeptAndTheRestCounted) {
    InstallPathScan scan(2);
    for (const QByteArray& line : Header.split('\n')) {
        scan.feed(line);
    }
    scan.feed("[Software\\\\Maxis\\\\The Sims] 1");
    for (const char* path : {"One", "One", "Two", "Three", "Four", "Four"}) {
        scan.feed(QByteArray("\"InstallPath\"=\"C:\\\\") + path + "\"");
    }
    EXPECT_EQ(scan.installPaths(), QStringList({"C:\\One", "C:\\Two"}));
    EXPECT_EQ(scan.ignored(), 3);
}

} // namespace
} // namespace vestimo::core::games
