#pragma once
#include <memory>
#include <string>

#include "platform/backend.h"

namespace platform::web {

// The browser page's backend: the frame on the page's canvas, pointer (mouse, pen, touch) and
// keyboard events as the game's messages, WebAudio, and the page's clock. A hidden page is a
// lost display. Nothing, with the reason in error, when the page gave no canvas.
Result<std::unique_ptr<Platform>> make_web_platform();

}  // namespace platform::web
