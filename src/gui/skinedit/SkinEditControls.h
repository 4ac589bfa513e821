#pragma once

class QProgressBar;

namespace vestimo::shell {

class DirList;
class FileList;
class PictureBox;

// The widgets of the skin editing window that the directory-wide checks work on, under their
// controls' names. The window hands them over for one command at a time.
struct SkinEditControls {
    DirList* Dir1 = nullptr;
    FileList* File1 = nullptr;
    PictureBox* Picture2 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
};

} // namespace vestimo::shell
