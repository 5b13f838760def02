#pragma once
#include <array>

#include "app/hit_test.h"
#include "platform/messages.h"
#include "scenes/controls.h"

struct Game;

namespace scenes {

// The seven title items, top to bottom: new game, viewer, options, gallery, music test,
// high scores, exit. Each item's highlight is drawn at its area's corner.
inline constexpr std::array<gfx::Rect, 7> kMenuItems = {{
    app::hit_area(246, 132, 112, 39),
    app::hit_area(246, 171, 137, 39),
    app::hit_area(246, 210, 137, 41),
    app::hit_area(246, 251, 137, 39),
    app::hit_area(246, 290, 183, 40),
    app::hit_area(246, 330, 137, 41),
    app::hit_area(246, 371, 137, 44),
}};

struct TitleState {
    Lit lit;
};

// The way back from every other scene: no back button, the title picture, silence, then the
// title music if it is switched on. Start-up does the first entry itself, in its own order.
void title_enter(Game& game);
void title_handle(Game& game, const platform::Message& message);
void title_update(Game& game);
void title_restore(Game& game);

}  // namespace scenes
