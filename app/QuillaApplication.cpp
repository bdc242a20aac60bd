// The application (installed as lib/quilla/quilla): tray, settings window, queue runner and
// scheduled deletions. Users start it through the `quilla` command.
#include "app/ui/QuillaApplicationMain.h"

int main(int argc, char** argv) {
    return quilla::runQuillaApplication(argc, argv);
}
