#include "app/game.h"
#include "scenes/gallery_scene.h"
#include "scenes/game_over_scene.h"
#include "scenes/high_score_scene.h"
#include "scenes/music_test_scene.h"
#include "scenes/name_entry_scene.h"
#include "scenes/options_scene.h"
#include "scenes/pause_scene.h"
#include "scenes/picture_view_scene.h"
#include "scenes/play_scene.h"
#include "scenes/tally_scene.h"
#include "scenes/title_scene.h"
#include "scenes/viewer_scene.h"

namespace {

constexpr WayBack kButtonToTitle{.button = true, .right_click = false, .to = Title};
constexpr WayBack kButtonOrRightClickToTitle{.button = true, .right_click = true, .to = Title};

}  // namespace

// Indexed by Scene id. A scene whose messages are all the shell's (its way back) has no handler.
// A scene whose entry only loads its pictures restores by entering again;
// name entry restores with the tally's routine, so the letters entered so far survive.
const std::array<SceneRoutines, kSceneCount> kSceneTable = {{
    {scenes::title_enter, scenes::title_handle, scenes::title_update, scenes::title_restore},
    {puzzle::play_enter, puzzle::play_handle, puzzle::play_update, puzzle::play_restore, WayBack{},
     puzzle::play_restore},
    {puzzle::tally_enter, puzzle::tally_handle, puzzle::tally_update, puzzle::tally_restore},
    {scenes::gallery_enter, scenes::gallery_handle, scenes::gallery_update, scenes::gallery_restore,
     kButtonToTitle},
    {scenes::picture_view_enter, nullptr, scenes::picture_view_update, scenes::picture_view_restore,
     WayBack{.button = false, .right_click = true, .to = Gallery}},
    {scenes::game_over_enter, nullptr, scenes::game_over_update, scenes::game_over_enter,
     kButtonOrRightClickToTitle},
    {viewer::enter_viewer, viewer::viewer_handle, viewer::viewer_update, viewer::enter_viewer,
     kButtonOrRightClickToTitle},
    {scenes::options_enter, scenes::options_handle, scenes::options_update, scenes::options_restore,
     kButtonOrRightClickToTitle},
    // The pause's right click resumes play, which is its own.
    {scenes::pause_enter, scenes::pause_handle, scenes::pause_update, scenes::pause_enter,
     kButtonToTitle},
    {scores::high_scores_enter, nullptr, scores::high_scores_update, scores::high_scores_enter,
     kButtonOrRightClickToTitle},
    {scores::name_entry_enter, scores::name_entry_handle, scores::name_entry_update,
     puzzle::tally_restore},
    {scenes::music_test_enter, scenes::music_test_handle, scenes::music_test_update,
     scenes::music_test_restore,
     WayBack{.button = true, .right_click = true, .to = Title, .leave = scenes::music_test_leave}},
}};
