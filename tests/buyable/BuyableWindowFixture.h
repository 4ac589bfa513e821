#pragma once

#include "support/AppFixture.h"

#include "gui/browser/DirList.h"
#include "gui/browser/DriveList.h"
#include "gui/browser/FileList.h"
#include "gui/widgets/PictureBox.h"
#include "gui/buyable/frmBuyableSkins.h"

#include <QColor>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace vestimo::test {

// The buyable skin maker window on the temporary skin folder, with the few moves every test makes.
class BuyableWindow : public AppFixture {
protected:
    // The window's working states, as the user sees them.
    enum class State { ChoosingBitmap, BitmapLoaded, ChoosingCmx, ChoosingAnotherCmx, ReadyToExport };

    BuyableWindow() : w(buyable()) { browseBuyable(); }

    // A small bitmap of its own colour, so two bitmaps never share their bytes.
    QString writeBitmap(const QString& name, QColor colour = Qt::darkCyan, int width = 8, int height = 4) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = skins.filePath(name);
        EXPECT_TRUE(image.save(path, "BMP")) << path.toStdString();
        w.File1->refresh();
        return path;
    }

    QString writeCmx(const QString& name) {
        const QString path = skins.write(name, validCmx(name.left(name.size() - 4).toUtf8()));
        w.File1->refresh();
        return path;
    }

    // Selects `name` in the file list as a click does; fails the test when it is not listed.
    void select(const QString& name) {
        const auto index = static_cast<int>(w.File1->entries().indexOf(name));
        ASSERT_GE(index, 0) << name.toStdString() << " is not listed";
        ASSERT_TRUE(w.File1->setListIndex(index));
    }

    void loadBitmap(const QString& name) {
        select(name);
        w.cmdLoadFile->click();
    }

    void pickCmx(const QString& name) {
        w.cmdLoadCMX->click();
        select(name);
    }

    // Writes both files and walks the window to "Ready to export".
    void readyToExport(const QString& bitmap, const QString& cmx) {
        writeBitmap(bitmap);
        writeCmx(cmx);
        loadBitmap(bitmap);
        pickCmx(cmx);
    }

    void expectNames(const QString& bitmap, const QString& mesh, const QString& cmx) {
        EXPECT_EQ(w.Text1->text(), bitmap);
        EXPECT_EQ(w.Text2->text(), mesh);
        EXPECT_EQ(w.Text3->text(), cmx);
    }

    // Every control that the state table names, and those that never change.
    void expectState(State state) {
        const bool choosingBitmap = state == State::ChoosingBitmap;
        const bool choosingCmx = state == State::ChoosingCmx || state == State::ChoosingAnotherCmx;
        const bool exportable = state == State::ReadyToExport || state == State::ChoosingAnotherCmx;
        EXPECT_EQ(w.File1->pattern(), choosingCmx || state == State::ReadyToExport ? "*.CMX" : "*.BMP");
        EXPECT_EQ(w.File1->isEnabled(), choosingBitmap || choosingCmx);
        EXPECT_EQ(w.Dir1->isEnabled(), choosingBitmap);
        EXPECT_EQ(w.Drive1->isEnabled(), choosingBitmap);
        EXPECT_EQ(w.cmdLoadFile->isEnabled(), choosingBitmap);
        EXPECT_EQ(w.cmdLoadCMX->isEnabled(), !choosingBitmap);
        for (QRadioButton* category : {w.Option2, w.Option3, w.Option4, w.Option5, w.Option6}) {
            EXPECT_EQ(category->isEnabled(), exportable) << category->text().toStdString();
            EXPECT_TRUE(category->isVisibleTo(&w));
        }
        EXPECT_EQ(w.cmdExport->isEnabled(), exportable);
        EXPECT_EQ(w.cmdCloseFile->isVisibleTo(&w), !choosingBitmap);
        EXPECT_EQ(w.cmdClose->isEnabled(), choosingBitmap);
        for (QPushButton* always :
             {w.cmdSwitch, w.cmdDefault, w.cmdClose, w.cmdLoadFile, w.cmdLoadCMX, w.cmdExport}) {
            EXPECT_TRUE(always->isVisibleTo(&w)) << always->objectName().toStdString();
        }
        EXPECT_TRUE(w.cmdSwitch->isEnabled());
        EXPECT_TRUE(w.cmdDefault->isEnabled());
        for (QLineEdit* box : {w.Text1, w.Text2, w.Text3}) {
            EXPECT_FALSE(box->isEnabled()) << box->objectName().toStdString();
        }
    }

    shell::frmBuyableSkins& w;
};

} // namespace vestimo::test
