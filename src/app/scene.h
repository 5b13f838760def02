#pragma once
#include <array>

#include "platform/messages.h"

struct Game;

// The twelve scenes; the id selects the routines that get every message and frame.
enum Scene : int {
    Title = 0,
    Play = 1,
    Tally = 2,
    Gallery = 3,
    PictureView = 4,
    GameOver = 5,
    ScriptViewer = 6,
    Options = 7,
    Pause = 8,
    HighScores = 9,
    NameEntry = 10,
    MusicTest = 11,
};
inline constexpr int kSceneCount = 12;

// Where a scene's way back leads, and what may take it. The shell lights the back button at
// (10, 10), takes the click on it or the right click, runs the scene's own leaving steps and
// hands over; the scene's handler never sees that message.
struct WayBack {
    bool button = false;       // the back button is drawn and clicked
    bool right_click = false;  // a right click anywhere goes back
    Scene to = Title;
    void (*leave)(Game&) = nullptr;  // what the scene does before it hands over
};

// A scene is plain routines. The entry runs as the scene becomes current and loads what it
// draws and clears its own flags; the handler, when there is one, sees each message after the
// shell's common handling; the update draws a whole frame; the restore reloads the scene's own
// pictures after the display was lost (the shell then reloads the common sheets). Resume, for the
// one scene that can be paused, takes the game back in without starting it over.
struct SceneRoutines {
    void (*enter)(Game&);
    void (*handler)(Game&, const platform::Message&);
    void (*update)(Game&);
    void (*restore)(Game&);
    WayBack back{};
    void (*resume)(Game&) = nullptr;
};

// What one scene hands to the next, through the shell rather than each other's state.
struct Handover {
    int gallery_score = 0;   // the score that opens the gallery's pictures
    int gallery_choice = 0;  // the thumbnail chosen, 1 to 8; the picture view shows it
};

extern const std::array<SceneRoutines, kSceneCount> kSceneTable;
