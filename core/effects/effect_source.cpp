#include "core/effects/effect_source.h"

namespace vesk {

EffectSource SheetGlassSource(bool first_open, bool second_open, ImageWindow active) {
  if (active == ImageWindow::kFirst && first_open) return {ImageWindow::kFirst, false};
  if (active == ImageWindow::kSecond && second_open) return {ImageWindow::kSecond, false};
  if (first_open) return {ImageWindow::kFirst, true};
  if (second_open) return {ImageWindow::kSecond, true};
  return {};
}

EffectSource FlagStreamingSource(bool first_open, bool second_open, ImageWindow active) {
  if (first_open) return {ImageWindow::kFirst, active != ImageWindow::kFirst};
  if (second_open) return {ImageWindow::kSecond, active != ImageWindow::kSecond};
  return {};
}

}  // namespace vesk
