#include "samples/DemoSkins.h"

#include "samples/SkinSamples.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vestimo::samples {

namespace {

class DemoWriter {
public:
    explicit DemoWriter(std::filesystem::path dir) : dir_(std::move(dir)) {}

    void File(const std::string& name, const std::string& bytes) {
        WriteFile(dir_ / name, bytes);
        ++written_;
    }

    void Bitmap(const std::string& name, int width, int height, BmpOptions options = {}) {
        options.width = width;
        options.height = height;
        options.seed = nextSeed_++;
        File(name, MakeBmp(options));
    }

    // A body skin: CMX file, mesh, and an 8-bit bitmap of the given size named after its prefix.
    void BodySkin(const std::string& base, int width, int height, BmpOptions options = {}) {
        File(base + ".cmx", ValidBodyCmx(base));
        File(BodyMeshFile(base), MeshBytes());
        Bitmap(BodyBitmapFile(base), width, height, options);
    }

    // A CMX file with the given text, its mesh and a small valid bitmap, so that only its text is wrong.
    void SkinWithText(const std::string& base, const std::string& cmx) {
        File(base + ".cmx", cmx);
        File(BodyMeshFile(base), MeshBytes());
        Bitmap(BodyBitmapFile(base), 64, 64);
    }

    std::size_t Written() const { return written_; }

private:
    std::filesystem::path dir_;
    std::size_t written_ = 0;
    std::uint32_t nextSeed_ = 1;
};

// Header with `records` PELVIS-first records (the later ones on the SPINE bones), closed by "0".
std::vector<std::string> RecordLines(const std::string& base, std::size_t records) {
    std::vector<std::string> lines = TenRecordCmxLines(base);
    lines.resize(8 + 4 * records);
    lines[7] = std::to_string(records);
    lines.emplace_back("0");
    return lines;
}

} // namespace

std::size_t WriteDemoSkinDirectory(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    DemoWriter out(dir);
    // Ready to be made buyable: load the bitmap, then the CMX file, pick a category, export.
    out.BodySkin("B100FAFit_xyz", 256, 256);
    out.BodySkin("B401MAFit_suit", 256, 256); // becomes L8QB... as Sleepwear

    // Valid skins, one for each accepted texture size, and a few other ways of storing a bitmap.
    out.BodySkin("B202MAJck_denim", 512, 256);
    out.BodySkin("B203FCSkt_plaid", 256, 128);
    out.BodySkin("B204MCTee_kid", 128, 128);
    out.BodySkin("B205UCRom_tiny", 64, 64);
    BmpOptions rle;
    rle.rle8 = true;
    out.BodySkin("B206FAGwn_packed", 256, 256, rle);
    out.BodySkin("B207DOdog_rex", 256, 128); // dogs need only a 7-character bitmap prefix
    out.File("C301MA_beard.cmx", ValidHeadCmx("C301MA_beard"));
    out.File(HeadMeshFile("C301MA_beard"), MeshBytes());
    out.Bitmap("C301MAlgt_beard.bmp", 128, 128);
    out.File("C302FA_bob.cmx", ValidHeadCmx("C302FA_bob"));
    out.File(HeadMeshFile("C302FA_bob"), MeshBytes());
    BmpOptions topDown;
    topDown.topDown = true;
    out.Bitmap("C302FAlgt_bob.bmp", 32, 32, topDown);
    // The bitmap belongs to its CMX file although the case of the names differs.
    out.File("B602FACas_mixed.cmx", ValidBodyCmx("B602FACas_mixed"));
    out.File(BodyMeshFile("B602FACas_mixed"), MeshBytes());
    out.Bitmap("b602facaslgt_mixed.bmp", 64, 64);

    // Bitmaps for the bitmap checks.
    BmpOptions exact;
    exact.fileSize = 75000;
    out.BodySkin("B208FASun_exact", 256, 256, exact); // at its limit: valid
    BmpOptions heavy;
    heavy.fileSize = 75001;
    out.BodySkin("B209FASun_heavy", 256, 256, heavy); // one byte over: moved
    out.BodySkin("B210MAOdd_square", 100, 100);       // a size the game does not know: left alone
    BmpOptions trueColour;
    trueColour.bitsPerPixel = 24;
    out.BodySkin("B211MAWid_huge", 512, 256, trueColour); // 24-bit, far over its limit: moved
    out.BodySkin("B212MATal_upright", 256, 512);          // 256 x 512 is not 512 x 256: left alone
    out.File("notapicture.bmp", "This is a note, not a picture, saved with a .bmp name by mistake.\r\n");

    // CMX files for the CMX checks, each with one mistake.
    out.SkinWithText("B701FAErr_line2", ReplaceCmxLine(ValidBodyCmx("B701FAErr_line2"), 2, "version 301"));
    out.SkinWithText("B702FAErr_line4", ReplaceCmxLine(ValidBodyCmx("B702FAErr_line4"), 4, "0"));
    out.SkinWithText("B703FAErr_line8", ReplaceCmxLine(ValidBodyCmx("B703FAErr_line8"), 8, "one"));
    // The directory-wide check accepts a hand in the first bone slot; the single-file check does not.
    out.SkinWithText("B704MAHnd_line9", ReplaceCmxLine(ValidBodyCmx("B704MAHnd_line9"), 9, "L_HAND"));
    std::vector<std::string> twoRecords = RecordLines("B705MAHnd_line13", 2);
    twoRecords[12] = "R_HAND";
    out.SkinWithText("B705MAHnd_line13", JoinCrlf(twoRecords));
    std::vector<std::string> threeRecords = RecordLines("B706FCErr_line17", 3);
    threeRecords[16] = "spine1";
    out.SkinWithText("B706FCErr_line17", JoinCrlf(threeRecords));

    // Animation descriptions are never checked: one by its name, one by its first line.
    out.File("adult-wave.cmx", AnimationCmx());
    out.File("B501MAAni_dance.cmx", AnimationCmx());
    out.Bitmap(BodyBitmapFile("B501MAAni_dance"), 64, 64);

    // No bitmap begins with "B601FAOrf": the associated-files check moves the CMX file and its mesh.
    out.File("B601FAOrf_lonely.cmx", ValidBodyCmx("B601FAOrf_lonely"));
    out.File(BodyMeshFile("B601FAOrf_lonely"), MeshBytes());
    return out.Written();
}

} // namespace vestimo::samples
