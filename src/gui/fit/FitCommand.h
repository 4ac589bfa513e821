#pragma once

#include "gui/app/Services.h"
#include "gui/fit/FitPreviewDialog.h"

#include <QString>

#include <functional>

namespace vestimo::gui {

// Shows the preview and answers for the player: true for Yes.
using FitConfirm = std::function<bool(const FitPreview& preview)>;

// A texture past this length is not read: the largest accepted size, 32-bit, is half a megabyte.
inline constexpr qint64 FitReadLimit = qint64{64} * 1024 * 1024;

// "Make It Fit" on the bitmap at `path`: reads it as it is now, rewrites it as an 8-bit palette
// bitmap, shows both through `confirm`, and on Yes replaces the file as a run of the journal, which
// keeps the old bytes for History's "Put Back". A file that does not decode, whose size the
// texture table does not list, that is already within its limit or changed while the preview was
// open is left as it is, with a message saying why. True when the file was replaced.
bool makeBitmapFit(const QString& path, const Services& services, const FitConfirm& confirm);

} // namespace vestimo::gui
