#pragma once
#include <cstdint>
#include <span>

// The one EXIF tag the game reads: how a camera held the picture.
namespace pictures {

// EXIF orientation values, 1 to 8: how the stored rows and columns must be turned so that the
// picture stands upright.
enum Orientation : int {
    kUpright = 1,
    kMirrored = 2,            // left and right swapped
    kUpsideDown = 3,          // turned half round
    kMirroredUpsideDown = 4,  // top and bottom swapped
    kTransposed = 5,          // rows are columns, first row on the left
    kTurnedLeft = 6,          // stored a quarter turn left: shown turned right (clockwise)
    kTransverse = 7,          // rows are columns, first row on the right, read from the bottom
    kTurnedRight = 8,         // stored a quarter turn right: shown turned left
};

// The orientation in a JPEG file's EXIF block (the first APP1 segment that starts "Exif"):
// tag 0x0112 of the first image directory, a SHORT. kUpright when the file is not a JPEG, has
// no EXIF block or orientation, or holds anything malformed or out of range there. Reads no
// byte outside the span; every loop is bounded by its length.
int exif_orientation(std::span<const uint8_t> jpeg);

}  // namespace pictures
