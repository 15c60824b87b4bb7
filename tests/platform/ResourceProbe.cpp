// A small executable for the resource tests: saves one of its own resources to a file.
#include "platform/resources/Resources.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: resource_probe NAME FILE" << std::endl;
        return 2;
    }
    try {
        pr::resources::ResourceFile::Self().SaveToFile(argv[1], argv[2]);
        return 0;
    } catch (const std::exception& e) {
        std::cerr << e.what() << std::endl;
        return 1;
    }
}
