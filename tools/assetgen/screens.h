#pragma once
#include <array>
#include <memory>
#include <string>

#include "assetgen/image.h"
#include "assetgen/text_render.h"

// The full-screen backgrounds: the title with its painted menu (slice 0), the board
// (slice 9) and the front-end screens (slices 10 to 18). Each leaves room where its scene
// draws texts and controls, and paints headings only where the scene paints nothing.
namespace assetgen {

struct Fonts {
    std::unique_ptr<Font> sans;   // DejaVu Sans Bold: the game's fonts and the labels
    std::unique_ptr<Font> serif;  // DejaVu Serif Bold: the name and the headings
};
// Both fonts, or the reason the first that failed could not be opened.
platform::Result<Fonts> open_fonts();

// The title menu's words, in the order of the game's own item areas (scenes::kMenuItems),
// which each highlight fills exactly.
inline constexpr std::array<const char*, 7> kMenuLabels = {
    "NEW GAME", "VIEWER", "OPTIONS", "GALLERY", "MUSIC TEST", "HIGH SCORES", "EXIT",
};

// The title menu's lettering: one face, size and spacing for all seven words, the largest
// size at which each fits its own area; and each word's width at that size.
struct MenuLettering {
    float size = 0.f;
    std::array<float, 7> widths{};
};
MenuLettering menu_lettering(const Fonts& fonts);

struct TitleArt {
    Image background;       // without the menu's words
    Image picture;          // slice 0 as shown
    float menu_size = 0.f;  // the menu's lettering, as menu_lettering chose it
};
// The rewards decorate the title with a few scattered pieces of them.
TitleArt paint_title(const Fonts& fonts, const std::array<Image, 8>& rewards);
// Menu item i in its highlighted form, exactly the size of its rectangle.
Image paint_menu_highlight(const TitleArt& title, const Fonts& fonts, int item);

// Slices 9 to 18.
Image paint_screen(int slice, const Fonts& fonts);

}  // namespace assetgen
