// vestimo-demo <dir>: fills <dir> with a small skin directory on which every command of the
// program has something to do. The same files every time.

#include "samples/DemoSkins.h"

#include <cstdio>
#include <exception>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vestimo-demo <directory>\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    try {
        const std::size_t written = vestimo::samples::WriteDemoSkinDirectory(dir);
        std::printf("vestimo-demo: wrote %zu demo skin files into %s\n", written, dir.string().c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vestimo-demo: %s\n", e.what());
        return 1;
    }
    return 0;
}
