// Which open image an effect reads. Sheet Glass follows the active image
// window; Flag Streaming always prefers the first image. With only the
// second image open, both use the second image (there is no first image to
// fall back on). The caller shows "First and Second image not open" (caption
// "Vesk Error") when the answer is kNone, and gives the chosen window the
// focus when `activate` is set.
#pragma once

namespace vesk {

enum class ImageWindow { kNone, kFirst, kSecond, kVesk };

struct EffectSource {
  ImageWindow source = ImageWindow::kNone;  // kFirst, kSecond or kNone
  bool activate = false;                    // make the source the active window

  bool operator==(const EffectSource&) const = default;
};

// Sheet Glass: the first image when its window is active, the second image
// when its window is active; otherwise (the Vesk window or no window active)
// the first image, which then becomes the active window, or the second image
// when it is the only one open.
EffectSource SheetGlassSource(bool first_open, bool second_open, ImageWindow active);

// Flag Streaming: the first image, made active when it is not; the second
// image when it is the only one open.
EffectSource FlagStreamingSource(bool first_open, bool second_open, ImageWindow active);

}  // namespace vesk
