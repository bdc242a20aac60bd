#include "finder-extension/cli/QuillaFinderCommand.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return quilla::QuillaFinderCommand::run(arguments, std::cout, std::cerr);
}
