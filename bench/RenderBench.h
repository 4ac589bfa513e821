#pragma once

namespace vestimo::bench {

// Draws a textured mesh of 1,000 faces into a 512 x 512 picture frame after frame, as the preview
// window does while the Sim is turned, against filling the same picture; prints the figures and
// returns whether the target was met.
bool renderBench();

} // namespace vestimo::bench
