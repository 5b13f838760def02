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

// A scene is four plain routines. The entry runs as the scene becomes current and loads what
// it draws; the handler sees each message after the shell's common handling; the update draws
// a whole frame; the restore reloads the pictures after the display was lost.
struct SceneRoutines {
    void (*enter)(Game&);
    void (*handler)(Game&, const platform::Message&);
    void (*update)(Game&);
    void (*restore)(Game&);
};

extern const std::array<SceneRoutines, kSceneCount> kSceneTable;
