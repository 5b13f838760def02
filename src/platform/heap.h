#pragma once

namespace platform {

// Keeps every large block (a picture, a sheet, a file's bytes) in a mapping of its own that
// goes back to the system whole when freed. Called once at start, before the game allocates.
void keep_large_blocks_apart();

}  // namespace platform
