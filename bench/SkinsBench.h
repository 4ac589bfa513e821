#pragma once

namespace vestimo::bench {

// The Skins view's work on folders of 1,000 and 10,000 skins made from the demo bodies: the cards,
// the badges, every card's picture with a cold and a warm cache, and the peak memory; prints the
// figures and the 10,000 / 1,000 ratios. Skipped without the real files beside the project.
void skinsBench();

} // namespace vestimo::bench
