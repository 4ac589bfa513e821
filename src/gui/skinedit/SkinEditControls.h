#pragma once

#include "platform/FileSystem.h"

class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace vestimo::shell {

class DirList;
class DriveList;
class FileList;
class PictureBox;

// The controls of the skin editing window, by the names its commands use. The window owns them;
// the commands of the editor and the checks work on them through this.
struct SkinEditControls {
    QGroupBox* Frame1 = nullptr;
    QPushButton* cmdSwitch = nullptr;
    DriveList* Drive1 = nullptr;
    DirList* Dir1 = nullptr;
    FileList* File1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option1 = nullptr;
    QPushButton* cmdDefault = nullptr;
    QPushButton* cmdCloseFile = nullptr;

    QGroupBox* Frame2 = nullptr;
    PictureBox* Picture1 = nullptr;
    PictureBox* Picture2 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* cmdCheckAllBMP = nullptr;
    QPushButton* cmdMoveFile = nullptr;
    QPushButton* cmdCheckBMP = nullptr;
    QPushButton* cmdDeleteBMP = nullptr;

    QGroupBox* Frame3 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QPushButton* cmdAssocFiles = nullptr;
    QPushButton* cmdSaveCMX = nullptr;
    QPushButton* cmdCMXError = nullptr;
    QLineEdit* Text3 = nullptr;
    QPushButton* cmdCheckAllCMX = nullptr;
    QPushButton* cmdClose = nullptr;

    // The CMX file open in the editor as it was when read, so a save notices another program's
    // change in the meantime.
    platform::FileIdentity openedFile;
};

} // namespace vestimo::shell
