#pragma once

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vestimo::shell {

class DirList;
class DriveList;
class FileList;
class PictureBox;

// The controls of the buyable skin maker window, by the names its commands use.
struct BuyableControls {
    QGroupBox* Frame1 = nullptr;
    QPushButton* cmdSwitch = nullptr;
    DriveList* Drive1 = nullptr;
    DirList* Dir1 = nullptr;
    FileList* File1 = nullptr;
    QPushButton* cmdDefault = nullptr;
    QPushButton* cmdLoadFile = nullptr;
    QPushButton* cmdCloseFile = nullptr;

    QGroupBox* Frame2 = nullptr;
    PictureBox* Picture1 = nullptr;

    QGroupBox* Frame3 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option3 = nullptr;
    QRadioButton* Option4 = nullptr;
    QRadioButton* Option5 = nullptr;
    QRadioButton* Option6 = nullptr;
    QPushButton* cmdExport = nullptr;
    QPushButton* cmdLoadCMX = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QPushButton* cmdClose = nullptr;
};

} // namespace vestimo::shell
