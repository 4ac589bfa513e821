// vestimo-demo <dir>: fills <dir> with a small skin directory on which every command of the
// program has something to do. The same files every time.
// vestimo-demo --fake-home <dir>: builds a player's home in <dir> with the game installed in a
// Wine prefix and in a second Steam library, for trying the game folders (run the program with
// HOME=<dir>).

#include "samples/DemoHome.h"
#include "samples/DemoSkins.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>

namespace {

const char* const Usage = "usage: vestimo-demo <directory>\n       vestimo-demo --fake-home <directory>\n";

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(Usage, stdout);
        return 0;
    }
    const bool fakeHome = argc == 3 && std::strcmp(argv[1], "--fake-home") == 0;
    // A target that looks like an option is a mistyped one, never a folder to fill.
    if ((argc != 2 && !fakeHome) || argv[argc - 1][0] == '-') {
        std::fputs(Usage, stderr);
        return 2;
    }
    const std::filesystem::path dir = argv[argc - 1];
    try {
        if (fakeHome) {
            const std::size_t written = vestimo::samples::WriteDemoHome(dir);
            std::printf("vestimo-demo: built a home with two game installs (%zu demo skin files) in %s\n",
                        written, dir.string().c_str());
        } else {
            const std::size_t written = vestimo::samples::WriteDemoSkinDirectory(dir);
            std::printf("vestimo-demo: wrote %zu demo skin files into %s\n", written, dir.string().c_str());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vestimo-demo: %s\n", e.what());
        return 1;
    }
    return 0;
}
