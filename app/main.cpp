// The `quilla` executable: `quilla perform …` runs one action on the terminal; anything else
// starts (or reopens) the application.
#include "app/cli/PerformCommand.h"
#include "app/ui/QuillaApplicationMain.h"

#include <iostream>
#include <string_view>

int main(int argc, char** argv) {
    if (argc > 1 && std::string_view(argv[1]) == "perform") {
        return quilla::runPerformCommand(argc - 2, argv + 2, std::cin, std::cout, std::cerr);
    }
    return quilla::runQuillaApplication(argc, argv);
}
