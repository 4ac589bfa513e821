// Feeds arbitrary bytes to the CMX line walk: it must never crash, and the verdict must not depend
// on how the bytes arrive.
#include "core/cmx/CmxWalk.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const bool hands : {false, true}) {
        const vestimo::cmx::WalkVerdict whole = vestimo::cmx::walkCmxText(text, hands);
        vestimo::cmx::CmxLineWalker walker(hands);
        for (std::size_t i = 0; i < size; i += 7) {
            walker.feed(text.substr(i, 7));
        }
        if (!(walker.finish() == whole)) {
            std::abort();
        }
        if (whole.kind == vestimo::cmx::WalkVerdict::Kind::Fault && (whole.line < 2 || whole.line > 48)) {
            std::abort();
        }
    }
    return 0;
}
