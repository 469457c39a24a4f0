// The tool buttons' glyphs, drawn by code in the sixteen classic colours so
// they stay small, crisp and consistent: one 18 x 18 picture per button.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace vesk {

enum class Glyph {
  NewMesh,
  OpenMesh,
  SaveMesh,
  CopyVesk2First,
  CopyVesk2Second,
  SwapMesh,
  SheetGlass,
  Colorize,
  FlagStreaming,
  Distorsion,
  Morph,
  Animations,
  Exit,
  OpenFirst,
  OpenSecond,
};

inline constexpr int kGlyphSize = 18;

QPixmap GlyphPixmap(Glyph glyph);
QIcon GlyphIcon(Glyph glyph);

}  // namespace vesk
