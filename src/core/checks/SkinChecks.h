#pragma once

#include "core/checks/DirectoryCheck.h"

// The three directory-wide checks of a skin folder, as descriptions for the frame.
namespace vestimo::checks {

// "Check All CMX Files in Directory": walks every CMX file whose name is of a skin class, the
// hand bones allowed in the first bone slot, and moves each faulty one. A file that cannot be
// opened or read is reported and stays. The listing is deleted afterwards.
DirectoryCheck cmxCheck();

// "Check All BMP Files in Directory": measures every bitmap in pixels against the texture table
// and moves each problem bitmap (one that does not load, or is longer than the limit of its
// listed size). Each file is read once. The listing is deleted afterwards.
DirectoryCheck bitmapCheck();

// "Check Associated Files For All CMX Files": moves every CMX file of a skin class that no bitmap
// belongs to, with its mesh file when that is there under exactly the expected name. Bitmaps are
// never moved. The listing stays on disk afterwards.
DirectoryCheck associatedFilesCheck();

} // namespace vestimo::checks
