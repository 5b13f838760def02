// assetgen: generates the game's default data pack (pictures, sheets, music, effect and
// viewer script) into a data folder, or previews of its pictures.
#include <iostream>

#include "assetgen/cli.h"

int main(int argc, char** argv) {
    return assetgen::run_cli(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
