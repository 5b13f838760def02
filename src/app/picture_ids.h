#pragma once

// Slices of the picture archive, named by the scene that shows them.
namespace app {

inline constexpr int kTitlePicture = 0;
inline constexpr int kBoardPicture = 9;
inline constexpr int kViewerPicture = 10;
inline constexpr int kOptionsPicture = 11;
inline constexpr int kGalleryPicture = 12;
inline constexpr int kHighScorePicture = 13;
// The tally and name entry share one background.
inline constexpr int kTallyPicture = 14;
inline constexpr int kTimeUpPicture = 15;
inline constexpr int kPausePicture = 16;
inline constexpr int kMusicTestPicture = 17;

// Stage n (1 to 5) is cut from slice n.
constexpr int stage_picture(int stage) {
    return stage;
}
// Gallery choice n (1 to 8, thumbnail n - 1) shows slice n at full screen.
constexpr int reward_picture(int choice) {
    return choice;
}

}  // namespace app
