#pragma once
#include <filesystem>
#include <memory>

#include "app/notice.h"
#include "app/scene.h"
#include "gfx/sprite_sheet.h"
#include "platform/data_source.h"
#include "platform/platform.h"
#include "rules/random.h"
#include "rules/state.h"
#include "scenes/gallery_scene.h"
#include "scenes/music_test_scene.h"
#include "scenes/name_entry_scene.h"
#include "scenes/options_scene.h"
#include "scenes/play_view.h"
#include "scenes/tally_scene.h"
#include "scenes/title_scene.h"
#include "scores/high_score_table.h"
#include "settings/profile.h"
#include "sound/sound.h"
#include "viewer/script.h"

// The pictures every scene draws from. screen_picture holds the current full-screen picture,
// or during play the stage picture cut into pieces.
struct Sheets {
    gfx::SpriteSheet screen_picture;
    gfx::SpriteSheet menu_sheet;
    gfx::SpriteSheet back_button_sheet;
    gfx::SpriteSheet font_sheet;
    gfx::SpriteSheet script_font_sheet;
    gfx::SpriteSheet cursor_sheet;
    // Play.
    gfx::SpriteSheet board_picture;
    gfx::SpriteSheet marks_sheet;
    gfx::SpriteSheet cover_sheet;
    gfx::SpriteSheet stage_numbers_sheet;
    // Options and music test use it for the switches, the gallery for the thumbnails.
    gfx::SpriteSheet switch_sheet;
    gfx::SpriteSheet arrow_sheet;
    gfx::SpriteSheet caption_panel_sheet;

    gfx::SpriteSheet& thumbnail_sheet() { return switch_sheet; }
};

// Everything the game keeps for the whole run, passed by reference to every routine.
struct Game {
    // The game as run from a folder: its pack read from there, vasul.ini kept beside it.
    Game(platform::Platform& platform, const std::filesystem::path& dir);
    // The game with its pack from `data` and its settings in `settings_file`.
    Game(platform::Platform& platform, std::shared_ptr<const platform::DataSource> data,
         const std::filesystem::path& settings_file);

    platform::Platform& platform;
    // The pictures, sounds and script: files on disk, or bytes in memory in tests.
    std::shared_ptr<const platform::DataSource> data;

    // The shell.
    int current_scene = Title;
    int quit_requested = 0;
    bool surfaces_lost = false;
    int mouse_x = 320;
    int mouse_y = 240;
    int back_button_hot = 0;
    rules::Random random;
    Handover handover;

    // Settings.
    settings::ProfileStore profile;
    int difficulty = 0;
    bool show_fps = false;
    bool your_pictures = false;  // the stages take the player's pictures when there are any
    int picture_drops = 0;       // drops taken this run, so screens that count pictures recount
    app::Notice notice;
    // The player's pictures, beside vasul.ini.
    std::filesystem::path picture_folder() const;

    // Sound.
    sound::SoundState sound;
    sound::MusicTestState music_test;
    // The sound layer's view of the game: the device, the pack and the channels.
    sound::Mixer mixer() { return {platform.audio(), *data, sound}; }

    Sheets sheets;

    // Play.
    rules::GameState state;
    puzzle::PlayView play;
    puzzle::TallyView tally;

    // Front end.
    scenes::TitleState title;
    scenes::OptionsState options;
    scenes::MusicTestView music_view;
    scenes::GalleryState gallery;
    rules::ScoreTable high_scores;
    scores::NameEntryState name_entry;
    viewer::Script script;
    viewer::ViewerState viewer;

    gfx::Surface& back_buffer() { return platform.back_buffer(); }
};
