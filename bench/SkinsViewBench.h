#pragma once

namespace vestimo::bench {

// Opens the Skins window on a folder of 10,000 skins and scrolls it from top to bottom, page by
// page, each page once its pictures are in; prints the time to the names, to every badge and to
// every picture, and the longest stall of the window's thread meanwhile.
void skinsViewStall();

} // namespace vestimo::bench
