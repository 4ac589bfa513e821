#pragma once

#include "support/AppFixture.h"

#include "gui/browser/FileList.h"
#include "gui/skinedit/frmSkinEdit.h"

#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace vestimo::test {

inline const QString InitialEditorText = QStringLiteral("A CMX File's contents will be displayed here.");
inline const QString InitialNameBox = QStringLiteral("CMX File Name");
inline const QString ListLockedNotice =
    QStringLiteral("The File List box will now be disabled until you close or save the CMX file.");

// The skin editing window on the temporary skin folder, driven through its controls as a user
// would: filter buttons, clicks on list entries, buttons.
class EditorFixture : public AppFixture {
protected:
    shell::frmSkinEdit& w() { return skinEdit(); }

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
        shell::FileList* list = w().File1;
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

    QString editorText() const { return app->skinEdit()->Text1->toPlainText(); }
    QString nameBox() const { return app->skinEdit()->Text3->text(); }

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
};

// Records, in order, what happens to the window's controls while a command runs, with the
// messages shown in between. A click on the file list is noted after the window's own handler
// for it has run.
class Timeline : public QObject {
public:
    Timeline(shell::frmSkinEdit& window, RecordingMessages& messages)
        : messages_(messages), seen_(messages.messages.size()) {
        for (QWidget* watched :
             std::initializer_list<QWidget*>{window.File1, window.Dir1, window.Drive1, window.Option1,
                                             window.Option2, window.cmdCloseFile}) {
            watched->installEventFilter(this);
        }
        connect(window.Text1, &QPlainTextEdit::textChanged, this, [this, &window] {
            note(window.Text1->toPlainText().isEmpty() ? "Text1 emptied" : "Text1 filled");
        });
        connect(window.Text3, &QLineEdit::textChanged, this,
                [this](const QString& text) { note(text.isEmpty() ? "Text3 emptied" : "Text3 " + text); });
        connect(window.File1, &shell::FileList::fileClicked, this,
                [this, &window] { note(QStringLiteral("File1 index %1").arg(window.File1->listIndex())); });
    }

    QStringList events() {
        flushMessages();
        return events_;
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* widget = static_cast<QWidget*>(object);
        switch (event->type()) {
        case QEvent::EnabledChange:
            note(object->objectName() + (widget->isEnabled() ? " enabled" : " disabled"));
            break;
        case QEvent::Show:
            note(object->objectName() + " shown");
            break;
        case QEvent::Hide:
            note(object->objectName() + " hidden");
            break;
        default:
            break;
        }
        return false;
    }

private:
    void note(const QString& what) {
        flushMessages();
        events_.append(what);
    }
    void flushMessages() {
        while (seen_ < messages_.messages.size()) {
            events_.append("message: " + messages_.messages[seen_++]);
        }
    }

    RecordingMessages& messages_;
    qsizetype seen_;
    QStringList events_;
};

} // namespace vestimo::test
