// The About box's picture effect: every inner pixel takes the colour of a
// randomly chosen pixel up to two steps away, reading pixels this pass has
// already changed, so the picture looks roughened.
#pragma once

#include <functional>

#include "core/image/bitmap.h"

namespace vesk {

// For each row y from 5 to height - 5 and each column x from 5 to width - 5
// (bounds inclusive), pixel (x, y) := pixel (x + rx, y + ry), where
// `random_offset` gives ry first, then rx, each in -2..2. `before_row` runs
// before every row (the program processes pending window messages there).
// Pictures narrower or lower than 11 pixels have no inner pixels to change.
void RoughenPicture(Bitmap& picture, const std::function<int()>& random_offset,
                    const std::function<void()>& before_row = {});

}  // namespace vesk
