#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/data_source.h"

namespace gfx {

// The picture archive: 19 full-screen BMP files of equal length, end to end.
inline constexpr int kPictureCount = 19;
inline constexpr const char* kPictureArchive = "image/data.bmp";
// The sheet archive: 13 BMP files at fixed byte ranges.
inline constexpr const char* kSheetArchive = "image/dat2.bmp";

struct ByteRange {
    uint32_t first;
    uint32_t end;  // one past the last byte
    constexpr uint32_t size() const { return end - first; }
};

inline constexpr int kPieceCount = 13;
inline constexpr std::array<ByteRange, kPieceCount> kPieceTable = {{
    {0, 161852},         // 0 title menu highlights
    {161852, 176216},    // 1 switches
    {176216, 183572},    // 2 arrows
    {183572, 283668},    // 3 cell marks
    {283668, 302924},    // 4 cover of the hidden piece
    {302924, 686980},    // 5 reward thumbnails
    {686980, 694336},    // 6 back button
    {694336, 982392},    // 7 caption panel
    {982392, 4691924},   // 8 viewer illustrations
    {4691924, 4807816},  // 9 font
    {4807816, 5401672},  // 10 caption font
    {5401672, 5563968},  // 11 stage numbers
    {5563968, 5574224},  // 12 pointer
}};

enum Piece : int {
    kMenuPiece = 0,
    kSwitchPiece = 1,
    kArrowPiece = 2,
    kMarksPiece = 3,
    kCoverPiece = 4,
    kThumbnailPiece = 5,
    kBackButtonPiece = 6,
    kCaptionPanelPiece = 7,
    kIllustrationPiece = 8,
    kFontPiece = 9,
    kScriptFontPiece = 10,
    kStageNumbersPiece = 11,
    kCursorPiece = 12,
};

// Bytes first..end-1 of an archive, with the first two replaced by "BM"; the read's error when
// the archive can't be read or is shorter than end, Short when the range holds under two bytes.
platform::FileBytes extract_range(const platform::DataSource& data, std::string_view archive,
                                  uint32_t first, uint32_t end);

// The longest slice worth reading: the largest picture the decoder accepts (kMaxPicturePixels)
// at 32 bits, with room to spare for headers and a gap. A picture archive sparse on disk but
// huge in length would otherwise cost its whole slice in memory before the decoder refused it.
inline constexpr uint64_t kMaxSliceBytes = 8u << 20;

// The n-th of k equal slices of an archive (its length divided by k; a remainder is never
// read), with the first two bytes replaced by "BM". The read's error when the archive can't be
// read, Missing when n is outside 0..k-1, and TooLarge when the slice is longer than
// kMaxSliceBytes, which nothing could decode.
platform::FileBytes extract_slice(const platform::DataSource& data, std::string_view archive, int n,
                                  int k);

// Whether the pack's archives are usable: the picture archive must hold 19 slices and the
// sheet archive every piece of the table. The reason names the file and where it was looked
// for.
platform::Result<void> check_archives(const platform::DataSource& data);

}  // namespace gfx
