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

// Indexed by Scene id.
const std::array<SceneRoutines, kSceneCount> kSceneTable = {{
    {scenes::title_enter, scenes::title_handle, scenes::title_update, scenes::title_restore},
    {puzzle::play_enter, puzzle::play_handle, puzzle::play_update, puzzle::play_restore},
    {puzzle::tally_enter, puzzle::tally_handle, puzzle::tally_update, puzzle::tally_restore},
    {scenes::gallery_enter, scenes::gallery_handle, scenes::gallery_update,
     scenes::gallery_restore},
    {scenes::picture_view_enter, scenes::picture_view_handle, scenes::picture_view_update,
     scenes::picture_view_restore},
    {scenes::game_over_enter, scenes::game_over_handle, scenes::game_over_update,
     scenes::game_over_restore},
    {viewer::enter_viewer, viewer::viewer_handle, viewer::viewer_update, viewer::restore_viewer},
    {scenes::options_enter, scenes::options_handle, scenes::options_update,
     scenes::options_restore},
    {scenes::pause_enter, scenes::pause_handle, scenes::pause_update, scenes::pause_restore},
    {scores::high_scores_enter, scores::high_scores_handle, scores::high_scores_update,
     scores::high_scores_restore},
    {scores::name_entry_enter, scores::name_entry_handle, scores::name_entry_update,
     scores::name_entry_restore},
    {scenes::music_test_enter, scenes::music_test_handle, scenes::music_test_update,
     scenes::music_test_restore},
}};
