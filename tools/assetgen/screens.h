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
bool open_fonts(Fonts& fonts, std::string* why);

// The title menu's items: hit rectangles, all starting at x 246, and their words.
struct MenuItem {
    int top, width, height;
    const char* label;
};
inline constexpr int kMenuLeft = 246;
inline constexpr std::array<MenuItem, 7> kMenuItems = {{
    {132, 112, 39, "NEW GAME"},
    {171, 137, 39, "VIEWER"},
    {210, 137, 41, "OPTIONS"},
    {251, 137, 39, "GALLERY"},
    {290, 183, 40, "MUSIC TEST"},
    {330, 137, 41, "HIGH SCORES"},
    {371, 137, 44, "EXIT"},
}};

struct TitleArt {
    Image background;  // without the menu's words
    Image picture;     // slice 0 as shown
};
// The rewards decorate the title with a few scattered pieces of them.
TitleArt paint_title(const Fonts& fonts, const std::array<Image, 8>& rewards);
// Menu item i in its highlighted form, exactly the size of its rectangle.
Image paint_menu_highlight(const TitleArt& title, const Fonts& fonts, int item);

// Slices 9 to 18.
Image paint_screen(int slice, const Fonts& fonts);

}  // namespace assetgen
