#include "soak/soak_input.h"

#include <algorithm>
#include <array>

#include "app/hit_test.h"
#include "scenes/title_scene.h"

namespace soak {

using namespace platform;

namespace {

// Keys a player may press, Escape left out: the game's own keys, letters and digits for the
// name entry, and a few it ignores.
constexpr std::array<uint32_t, 16> kKeys = {
    kVkSpace, kVkShift, kVkControl, 8, 13, 'A', 'M', 'Z', '0', '7', 37, 38, 39, 40, 46, 112,
};

// A queued message with this id posts nothing: the tour's pauses.
constexpr uint32_t kPause = 0;

// The title's items in the tour: new game, viewer, options, gallery, music test, high scores.
constexpr int kTourItems = 6;
constexpr int kPlayItem = 0;
constexpr int kViewerItem = 1;

}  // namespace

SoakInput::SoakInput(uint32_t seed) : random_(seed) {
    tour();
}

void SoakInput::tour() {
    for (int item = 0; item < kTourItems; ++item) {
        click_centre(scenes::kMenuItems[static_cast<size_t>(item)]);
        wait(60);
        if (item == kPlayItem) {
            pending_.push_back(key_message(kWmKeyDown, kVkSpace));  // pause
            pending_.push_back(key_message(kWmKeyUp, kVkSpace));
            wait(10);
        } else if (item == kViewerItem) {
            for (int page = 0; page < 16; ++page) {
                click(320, 240);
                wait(10);
            }
        }
        click_centre(app::kBackButton);
        wait(30);
    }
}

void SoakInput::click_centre(const gfx::Rect& area) {
    click((area.left + area.right) / 2, (area.top + area.bottom) / 2);
}

void SoakInput::wait(int passes) {
    pending_.insert(pending_.end(), static_cast<size_t>(passes), Message{kPause, 0, 0});
}

void SoakInput::step(HeadlessPlatform& platform) {
    if (below(1000) < 3) jump_clock(platform);
    if (platform.queued() > 0) return;
    if (idle_ > 0) {
        --idle_;
        return;
    }
    if (pending_.empty()) start_gesture();
    if (pending_.empty()) return;
    const Message next = pending_.front();
    pending_.pop_front();
    if (next.id != kPause) platform.post_message(next);
}

void SoakInput::jump_clock(HeadlessPlatform& platform) {
    // A third of the jumps land just before the 32-bit wrap, which the clock then crosses.
    const uint32_t ms = below(3) == 0 ? 0xFFFFFFFFu - static_cast<uint32_t>(below(2000))
                                      : static_cast<uint32_t>(random_());
    platform.set_ticks(ms);
}

void SoakInput::start_gesture() {
    const int roll = below(100);
    int x = 0;
    int y = 0;
    if (roll < 30) {
        for (int n = below(4) + 1; n > 0; --n) {
            point(x, y);
            press(kWmMouseMove, x, y);
        }
    } else if (roll < 48) {
        point(x, y);
        click(x, y);
    } else if (roll < 63) {
        drag();
    } else if (roll < 68) {
        point(x, y);
        click(x, y);
        press(kWmLButtonDblClk, x, y);
        press(kWmLButtonUp, x, y);
    } else if (roll < 76) {
        point(x, y);
        press(kWmMouseMove, x, y);
        press(kWmRButtonDown, x, y);
        if (below(4) == 0) press(kWmRButtonDblClk, x, y);
    } else if (roll < 86) {
        key();
    }
    idle_ = below(3) == 0 ? below(120) : below(4);
}

void SoakInput::point(int& x, int& y) {
    // Mostly near the last point, as a hand moves; now and then anywhere on the screen, on a
    // title item, or on the back button, which leads out of most scenes.
    const int aim = below(24);
    if (aim < 2) {
        const gfx::Rect& area =
            aim == 0 ? app::kBackButton
                     : scenes::kMenuItems[static_cast<size_t>(below(kTourItems + 1))];
        x_ = area.left + 1 + below(area.width() - 1);
        y_ = area.top + 1 + below(area.height() - 1);
    } else if (aim < 6) {
        x_ = below(kScreenWidth);
        y_ = below(kScreenHeight);
    } else {
        x_ = std::clamp(x_ + below(81) - 40, 0, kScreenWidth - 1);
        y_ = std::clamp(y_ + below(81) - 40, 0, kScreenHeight - 1);
    }
    x = x_;
    y = y_;
}

void SoakInput::press(uint32_t id, int x, int y) {
    pending_.push_back(mouse_message(id, x, y));
}

void SoakInput::click(int x, int y) {
    press(kWmMouseMove, x, y);
    press(kWmLButtonDown, x, y);
    press(kWmLButtonUp, x, y);
}

void SoakInput::drag() {
    int x = 0;
    int y = 0;
    point(x, y);
    press(kWmMouseMove, x, y);
    press(kWmLButtonDown, x, y);
    for (int n = below(12) + 1; n > 0; --n) {
        point(x, y);
        press(kWmMouseMove, x, y);
    }
    press(kWmLButtonUp, x, y);
}

void SoakInput::key() {
    const uint32_t vk = kKeys[static_cast<size_t>(below(static_cast<int>(kKeys.size())))];
    pending_.push_back(key_message(kWmKeyDown, vk));
    if (below(5) == 0) pending_.push_back(key_message(kWmKeyDown, vk));  // auto-repeat
    pending_.push_back(key_message(kWmKeyUp, vk));
}

}  // namespace soak
