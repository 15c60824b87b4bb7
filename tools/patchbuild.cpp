#include "platform/core/Error.h"
#include "tools/PatchBuilder.h"

#include <iostream>

int main(int argc, char** argv) {
    try {
        patchbuild::BuildPatch(patchbuild::ParseCommandLine({argv + 1, argv + argc}));
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "patchbuild: " << e.what() << std::endl;
        return 1;
    }
}
