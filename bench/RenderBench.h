#pragma once

namespace vestimo::bench {

// Draws a textured mesh of 1,000 faces into a 512 x 512 picture frame after frame, as the preview
// window does while the Sim is turned, against filling the same picture; prints the figures and
// returns whether the target was met.
bool renderBench();

// Puts the demo adult (body, head and hands, from the real files beside the project) on the Sim and
// writes it as a 512 x 512 PNG file, as `vestimo render` does, from reading and posing to the
// written file; skipped (and counted as met) without the real files.
bool tryOnBench();

} // namespace vestimo::bench
