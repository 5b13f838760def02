#include "assetgen/screen_layout.h"

#include "gfx/text.h"
#include "scenes/game_over_scene.h"
#include "scenes/high_score_scene.h"
#include "scenes/music_test_scene.h"
#include "scenes/name_entry_scene.h"
#include "scenes/options_scene.h"
#include "scenes/pause_scene.h"
#include "scenes/tally_scene.h"

namespace assetgen {

namespace {

// The game font's cells are as tall as a line.
constexpr int kLineHeight = 21;

class TextList {
  public:
    TextList(const std::vector<int>& widths, std::vector<FixedText>& out)
        : widths_(widths), out_(out) {}
    void add(int picture, int x, int y, std::string_view text) {
        const int w = game_text_width(widths_, text);
        out_.push_back({picture, {x, y, x + w, y + kLineHeight}, std::string(text)});
    }
    void add(int picture, const gfx::TextAt& t) { add(picture, t.x, t.y, t.text); }
    // A text that ends at x_end, as the options' long label does.
    void add_ending(int picture, int x_end, int y, std::string_view text) {
        add(picture, x_end - game_text_width(widths_, text), y, text);
    }

  private:
    const std::vector<int>& widths_;
    std::vector<FixedText>& out_;
};

void options_texts(TextList& t) {
    using namespace scenes;
    const int p = app::kOptionsPicture;
    for (const auto& [y, label] : {std::pair{kBgmY, "BGM:"},
                                   {kBgmVolumeY, "VOL:"},
                                   {kSeY, "SE:"},
                                   {kSeVolumeY, "VOL:"},
                                   {kFpsY, "FPS:"},
                                   {kLvlY, "LVL:"}})
        t.add(p, kOptionLabelX, y, label);
    t.add(p, kOptionValueX, kBgmVolumeY, "9");
    t.add(p, kOptionValueX, kSeVolumeY, "9");
    for (const char* level : {"EASY", "NORM", "HARD"}) t.add(p, kOptionValueX, kLvlY, level);
    t.add_ending(p, kPicturesLabelEnd, kPicturesY, kPicturesLabel);
    for (const char* value : {"GAME", "YOURS", "NONE"}) t.add(p, kOptionValueX, kPicturesY, value);
}

void music_test_texts(TextList& t) {
    using namespace scenes;
    const int p = app::kMusicTestPicture;
    t.add(p, kMusicLabelX, kPlayY, "PLAY:");
    t.add(p, kMusicLabelX, kLoopY, "LOOP:");
    t.add(p, kMusicLabelX, kMusicVolumeY, "VOL:");
    t.add(p, kMusicValueX, kMusicVolumeY, "9");
}

void high_score_texts(TextList& t) {
    for (int i = 0; i < 10; ++i) {
        const int y = scores::kFirstRowY + scores::kRowStep * i;
        t.add(app::kHighScorePicture, scores::kNameX, y, "WWW");
        t.add(app::kHighScorePicture, scores::kScoreX, y, "88888");
    }
}

void tally_texts(TextList& t) {
    using namespace puzzle;
    const int p = app::kTallyPicture;
    for (const TallyRow& row : kTallyRows) {
        t.add(p, kTallyLabelX, row.y, row.label);
        t.add(p, kTallyCounterX, row.y, "88888");
        if (row.note) t.add(p, kTallyNoteX, row.y, row.note);
    }
    t.add(p, kGalleryOfferText);
    t.add(p, kRecordOfferText);
    t.add(p, kCountingText);
    // Name entry, on the same picture: the letters, the name so far and the way on.
    for (int b = 0; b < scores::kLetterButtons; ++b) {
        const gfx::Rect& area = scores::kNameControls[static_cast<size_t>(b)];
        t.add(p, area.left, area.top, std::string(1, b < 26 ? scores::button_letter(b) : 'W'));
    }
    for (int i = 0; i < 3; ++i)
        t.add(p, scores::kPreviewX + scores::kPreviewStep * i, scores::kPreviewY, "W");
    t.add(p, scores::kEnterArea.left, scores::kEnterArea.top, "ENTER GALLERY");
}

}  // namespace

gfx::Rect text_panel(int picture) {
    switch (picture) {
        case app::kOptionsPicture:
            return kOptionsPanel;
        case app::kHighScorePicture:
            return kHighScoresPanel;
        case app::kTallyPicture:
            return kTallyPanel;
        case app::kTimeUpPicture:
            return kTimeUpPanel;
        case app::kPausePicture:
            return kPausePanel;
        case app::kMusicTestPicture:
            return kMusicTestPanel;
        default:
            return {};
    }
}

int game_text_width(const std::vector<int>& glyph_widths, std::string_view text) {
    int w = 0;
    for (char ch : text) {
        const size_t glyph = static_cast<size_t>(gfx::glyph_index(ch));
        if (glyph < glyph_widths.size()) w += glyph_widths[glyph];
    }
    return w;
}

std::vector<FixedText> fixed_texts(const std::vector<int>& glyph_widths) {
    std::vector<FixedText> out;
    TextList t(glyph_widths, out);
    options_texts(t);
    music_test_texts(t);
    high_score_texts(t);
    tally_texts(t);
    t.add(app::kTimeUpPicture, scenes::kPlayAgainLine);
    for (const gfx::TextAt& line : scenes::kPauseLines) t.add(app::kPausePicture, line);
    return out;
}

}  // namespace assetgen
