// Picture equalization: every pixel of a frame becomes, channel by channel,
// the mean of its four direct neighbours (below, above, right, left), with
// neighbours outside the picture reading as white. The pass visits the
// columns left to right and each column top to bottom, in place, so the
// neighbours above and to the left already hold their new values when read.
// The pixel's own value takes no part.
#pragma once

#include "core/generate/run_protocol.h"
#include "core/image/bitmap.h"

namespace vesk {

// Smooths `picture` in place. Calls EqualizationBegin, then for every column
// x InnerBar(x * 100 / width) and ProcessMessages, then EqualizationEnd.
// It never looks at the cancel request.
void EqualizePicture(Bitmap& picture, RunProtocol& protocol);

}  // namespace vesk
