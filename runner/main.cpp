#include "runner/uPatchRunner.h"

int main(int argc, char** argv) {
    return RunPatchRunner(argc, argv);
}
