// assetgen: generates the game's default data pack (pictures, sheets, music, effect and
// viewer script) into a data folder, or previews of its pictures.
#include <iostream>

#include "assetgen/cli.h"

int main(int argc, char** argv) {
    // Guarded from the first copy of the arguments: nothing thrown leaves main.
    return assetgen::run_guarded(
        [&] {
            return assetgen::run_cli(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                     std::cerr);
        },
        std::cerr);
}
