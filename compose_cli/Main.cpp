// trayvane-compose: composes tray inlays from scans without the window
// (compose_cli/ComposeCommand.h).

#include "compose_cli/ComposeCommand.h"
#include "picture_codecs/CodecPictures.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    RegisterCodecPictures();
    const std::vector<std::string> Arguments(argv + 1, argv + argc);
    return RunComposeCommand(Arguments, std::cout, std::cerr);
}
