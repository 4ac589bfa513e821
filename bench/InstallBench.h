#pragma once

namespace vestimo::bench {

// Installs a folder of 200 downloads (good ones and every bad kind) into a fake game with the
// journal, against plain extraction of the same archives; prints the figures and returns whether
// the targets were met.
bool installBench();

} // namespace vestimo::bench
