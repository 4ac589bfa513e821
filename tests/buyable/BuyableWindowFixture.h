#pragma once

#include "support/AppFixture.h"

#include "core/buyable/BuyableDraft.h"
#include "gui/browser/DirList.h"
#include "gui/browser/DriveList.h"
#include "gui/browser/FileList.h"
#include "gui/buyable/BuyableMakerWindow.h"
#include "gui/widgets/PictureBox.h"

#include <QColor>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace vestimo::test {

// The buyable skin maker window on the temporary skin folder, driven by its controls' names, with
// the few moves every test makes.
class BuyableWindow : public AppFixture {
protected:
    using Step = buyable::BuyableStep;

    BuyableWindow() : w(buyable()) { browseBuyable(); }

    gui::FileList* files() { return control<gui::FileList>(&w, "File1"); }
    gui::PictureBox* viewer() { return control<gui::PictureBox>(&w, "Picture1"); }
    QPushButton* button(const char* name) { return control<QPushButton>(&w, name); }
    QRadioButton* option(const char* name) { return control<QRadioButton>(&w, name); }
    QLineEdit* box(const char* name) { return control<QLineEdit>(&w, name); }
    void click(const char* name) { button(name)->click(); }

    // A small bitmap of its own colour, so two bitmaps never share their bytes.
    QString writeBitmap(const QString& name, QColor colour = Qt::darkCyan, int width = 8, int height = 4) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = skins.filePath(name);
        EXPECT_TRUE(image.save(path, "BMP")) << path.toStdString();
        files()->refresh();
        return path;
    }

    QString writeCmx(const QString& name) {
        const QString path = skins.write(name, validCmx(name.left(name.size() - 4).toUtf8()));
        files()->refresh();
        return path;
    }

    // Selects `name` in the file list as a click does; fails the test when it is not listed.
    void select(const QString& name) {
        const auto index = static_cast<int>(files()->entries().indexOf(name));
        ASSERT_GE(index, 0) << name.toStdString() << " is not listed";
        ASSERT_TRUE(files()->setListIndex(index));
    }

    void loadBitmap(const QString& name) {
        select(name);
        click("cmdLoadFile");
    }

    void pickCmx(const QString& name) {
        click("cmdLoadCMX");
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
        EXPECT_EQ(box("Text1")->text(), bitmap);
        EXPECT_EQ(box("Text2")->text(), mesh);
        EXPECT_EQ(box("Text3")->text(), cmx);
    }

    // The window's draft is at `step`, and every control shows it; those that never change too.
    // While choosing a CMX file, the categories and the export stay enabled once a CMX file was picked.
    void expectState(Step step) {
        const buyable::BuyableDraft& draft = w.draft();
        EXPECT_EQ(draft.step, step);
        const bool choosingBitmap = step == Step::Browsing;
        const bool choosingCmx = step == Step::PickingCmx;
        const bool exportable = step == Step::ReadyToExport || (choosingCmx && draft.hasCmx());
        EXPECT_EQ(files()->pattern(), choosingCmx || step == Step::ReadyToExport ? "*.CMX" : "*.BMP");
        EXPECT_EQ(files()->isEnabled(), choosingBitmap || choosingCmx);
        EXPECT_EQ(control<gui::DirList>(&w, "Dir1")->isEnabled(), choosingBitmap);
        EXPECT_EQ(control<gui::DriveList>(&w, "Drive1")->isEnabled(), choosingBitmap);
        EXPECT_EQ(button("cmdLoadFile")->isEnabled(), choosingBitmap);
        EXPECT_EQ(button("cmdLoadCMX")->isEnabled(), !choosingBitmap);
        for (const char* name : {"Option2", "Option3", "Option4", "Option5", "Option6"}) {
            EXPECT_EQ(option(name)->isEnabled(), exportable) << name;
            EXPECT_TRUE(option(name)->isVisibleTo(&w)) << name;
        }
        EXPECT_EQ(button("cmdExport")->isEnabled(), exportable);
        EXPECT_EQ(button("cmdCloseFile")->isVisibleTo(&w), !choosingBitmap);
        EXPECT_EQ(button("cmdClose")->isEnabled(), choosingBitmap);
        for (const char* always :
             {"cmdSwitch", "cmdDefault", "cmdClose", "cmdLoadFile", "cmdLoadCMX", "cmdExport"}) {
            EXPECT_TRUE(button(always)->isVisibleTo(&w)) << always;
        }
        EXPECT_TRUE(button("cmdSwitch")->isEnabled());
        EXPECT_TRUE(button("cmdDefault")->isEnabled());
        for (const char* name : {"Text1", "Text2", "Text3"}) {
            EXPECT_FALSE(box(name)->isEnabled()) << name;
        }
    }

    gui::BuyableMakerWindow& w;
};

} // namespace vestimo::test
