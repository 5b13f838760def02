#include "assetgen/viewer_script.h"

#include <cstdio>

#include "assetgen/illustrations.h"
#include "gfx/archive.h"

namespace assetgen {

namespace {

struct Page {
    int frame;
    std::vector<const char*> lines;
};

// Pages of at most three short lines: each glyph costs four bytes of the script's 4095.
const std::vector<Page> kPages = {
    {kDragFrame,
     {"Welcome to VASUL! Each picture is cut into", "48 pieces. Drag every piece with the mouse",
      "back to its home cell before time runs out."}},
    {kSnapFrame,
     {"Let go of a piece close to its cell and it", "snaps home. Placed pieces stay put."}},
    {kChainFrame,
     {"Place pieces quickly, one after another,", "to build a chain (RENSA). Every 4th link",
      "adds time, and long chains pay at the end."}},
    {kBonusFrame,
     {"One piece hides under a cover: place it", "early for a big bonus. Fill the four marked",
      "cells first for another one."}},
    {kKeysFrame,
     {"Hold Ctrl to see only loose pieces, Shift", "for the placed ones. Space or a right click",
      "pauses the game."}},
    {kGalleryFrame,
     {"High totals open the pictures of the", "gallery. Right click to leave. Good luck!"}},
};

}  // namespace

std::string code_text(std::string_view text) {
    std::string out;
    char buf[8];
    for (char ch : text) {
        std::snprintf(buf, sizeof buf, "%04d", static_cast<unsigned char>(ch));
        out += buf;
    }
    return out;
}

platform::Result<std::string> build_viewer_script(const std::vector<int>& widths) {
    std::string s;
    int lines = 0;
    auto line = [&](const std::string& command, const std::string& argument) {
        s += command + " " + argument + "\n";
        ++lines;
    };
    for (size_t p = 0; p < kPages.size(); ++p) {
        const Page& page = kPages[p];
        // The first page sets the stage from scratch: the viewer keeps its state between visits.
        line("RESET", "0");
        if (p == 0) {
            line("HIDE_IMAGE2", "0");
            line("LOAD_IMAGE1", std::to_string(static_cast<int>(gfx::kIllustrationPiece)));
            line("SHOW_IMAGE1", "2");
        }
        line("SET_FRAME1", std::to_string(page.frame));
        for (size_t k = 0; k < page.lines.size(); ++k) {
            const std::string_view text = page.lines[k];
            int width = 0;
            for (char ch : text) {
                const auto code = static_cast<unsigned char>(ch);
                width += code < widths.size() ? widths[code] : 0;
            }
            if (width > kCaptionMaxWidth) {
                return platform::fail(
                    platform::ErrorKind::TooLarge,
                    "caption too wide (" + std::to_string(width) + " px): " + std::string(text));
            }
            line("TEXT" + std::to_string(k + 1), code_text(text));
        }
        if (p + 1 < kPages.size()) line("WAIT", "0");
    }
    if (lines > 150 || s.size() > 4095) {
        return platform::fail(
            platform::ErrorKind::TooLarge,
            "the viewer script exceeds 150 lines or 4095 bytes (" + std::to_string(s.size()) + ")");
    }
    return s;
}

}  // namespace assetgen
