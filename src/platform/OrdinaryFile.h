#pragma once

#include "platform/FileSystem.h"

#include <optional>

namespace vestimo::platform {

// The identity of the ordinary file at `path`, never through a link: nothing for a link, a folder
// or anything else, or when there is nothing.
std::optional<FileIdentity> identifyOrdinaryFile(const QString& path);

} // namespace vestimo::platform
