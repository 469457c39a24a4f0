#include "core/image/roughen.h"

#include <algorithm>

namespace vesk {

void RoughenPicture(Bitmap& picture, const std::function<int()>& random_offset,
                    const std::function<void()>& before_row) {
  const int w = picture.Width();
  const int h = picture.Height();
  for (int y = 5; y <= h - 5; ++y) {
    if (before_row) before_row();
    Color* row = picture.Row(y);
    for (int x = 5; x <= w - 5; ++x) {
      int ry = std::clamp(random_offset(), -2, 2);
      int rx = std::clamp(random_offset(), -2, 2);
      // x + rx and y + ry stay at least 3 pixels inside the picture.
      row[x] = picture.Row(y + ry)[x + rx];
    }
  }
}

}  // namespace vesk
