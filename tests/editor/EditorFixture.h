#pragma once

#include "support/AppFixture.h"

#include "gui/browser/FileList.h"
#include "gui/skinedit/SkinEditWindow.h"

#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <ostream>

namespace vestimo::test {

inline const QString InitialEditorText = QStringLiteral("A CMX File's contents will be displayed here.");
inline const QString InitialNameBox = QStringLiteral("CMX File Name");
inline const QString ListLockedNotice =
    QStringLiteral("The File List box will now be disabled until you close or save the CMX file.");

// What the window showed at the moment a message box appeared over it.
struct WindowAtMessage {
    QString message;
    bool browserFree;
    QString editorText;
    QString nameBox;
    bool operator==(const WindowAtMessage&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const WindowAtMessage& seen) {
    return out << '{' << seen.message.toStdString() << ", browser " << (seen.browserFree ? "free" : "locked")
               << ", editor \"" << seen.editorText.toStdString() << "\", name box \""
               << seen.nameBox.toStdString() << "\"}";
}

// The skin editing window on the temporary skin folder, driven through its controls as a user
// would: filter buttons, clicks on list entries, buttons.
class EditorFixture : public AppFixture {
protected:
    // The window's controls by name.
    SkinEditByName w() { return skinEditNamed(); }
    // What the window is doing.
    const editor::SkinEditState& state() { return skinEdit().state(); }

    void showCmxFiles() {
        browseSkinEdit();
        QTest::mouseClick(w().Option2, Qt::LeftButton);
        ASSERT_EQ(w().File1->pattern(), "*.CMX");
    }
    void showBmpFiles() {
        browseSkinEdit();
        ASSERT_EQ(w().File1->pattern(), "*.BMP");
    }

    // Clicks the entry `name` in the file list.
    void clickFile(const QString& name) {
        gui::FileList* list = w().File1;
        const qsizetype row = list->entries().indexOf(name);
        ASSERT_GE(row, 0) << name.toStdString() << " is not listed";
        QListWidgetItem* item = list->item(static_cast<int>(row));
        list->scrollToItem(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    }
    // Selects `name` from code, as other commands do.
    void selectFile(const QString& name) {
        const qsizetype row = w().File1->entries().indexOf(name);
        ASSERT_GE(row, 0) << name.toStdString() << " is not listed";
        ASSERT_TRUE(w().File1->setListIndex(static_cast<int>(row)));
    }

    // Writes a CMX file, shows the CMX list and clicks it open.
    void openCmx(const QString& name, const QByteArray& bytes) {
        skins.write(name, bytes);
        showCmxFiles();
        clickFile(name);
        ASSERT_TRUE(isEditing()) << "the file did not open";
    }

    void clickSave() { QTest::mouseClick(w().cmdSaveCMX, Qt::LeftButton); }
    void clickClose() { QTest::mouseClick(w().cmdCloseFile, Qt::LeftButton); }
    void clickCheck() { QTest::mouseClick(w().cmdCMXError, Qt::LeftButton); }

    QString editorText() { return w().Text1->toPlainText(); }
    QString nameBox() { return w().Text3->text(); }

    // The five browser controls as the two states have them.
    bool browserLocked() {
        return !w().File1->isEnabled() && !w().Dir1->isEnabled() && !w().Drive1->isEnabled() &&
               !w().Option1->isEnabled() && !w().Option2->isEnabled();
    }
    bool browserFree() {
        return w().File1->isEnabled() && w().Dir1->isEnabled() && w().Drive1->isEnabled() &&
               w().Option1->isEnabled() && w().Option2->isEnabled();
    }
    bool isEditing() { return browserLocked() && w().cmdCloseFile->isVisible(); }
    bool isBrowsing() { return browserFree() && !w().cmdCloseFile->isVisible(); }

    // From now on, notes what the window shows as each message appears.
    QList<WindowAtMessage>& recordWindowAtEachMessage() {
        messages.onShow = [this](const QString& message) {
            seenAtMessages_.append({message, browserFree(), editorText(), nameBox()});
        };
        return seenAtMessages_;
    }

private:
    QList<WindowAtMessage> seenAtMessages_;
};

} // namespace vestimo::test
