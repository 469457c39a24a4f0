// Sheet Glass: one new picture of an image seen through a wall of glass
// sheets. Result column x shows source column
// ((x mod Sh) + x) x (W - Sh) div W, and row y likewise with Sv and H, so
// each sheet shows every second column (row) of a stretch twice its size.
//
// The caller (the main window's SheetGlassClick, or vesk-batch sheetglass):
//   before: picks the source with SheetGlassSource (effect_source.h) and
//           gives up with "First and Second image not open" when there is
//           none; destroys the old Vesk window and makes a new one, whose
//           bitmap this routine fills;
//   after:  gives the Vesk window the result as its clean bitmap; sounds
//           the beep when the run was not cancelled (the cancel request
//           stays set after a cancel); runs UpdateCommandState.
#pragma once

#include "core/common/result.h"
#include "core/generate/run_protocol.h"
#include "core/image/bitmap.h"

namespace vesk {

// Fills `vesk` with a new picture of the source's size, starting white,
// column by column. Run protocol: Begin; before each column
// ProcessMessages and InnerBar(x x 100 div W); after each column but the
// last, CancelRequested, which stops the loop (the columns not reached stay
// white); then ShowFrame and End. Counter is never called (the counter
// stays empty). No frame is written.
//
// Sheet sizes are the settings SheetHorzSize and SheetVertSize (0..255); a
// size of 0 acts as 1. A source position outside the image (a sheet larger
// than the image) gives white. Always succeeds.
Status SheetGlass(const Bitmap& source, int sheet_horz_size, int sheet_vert_size,
                  RunProtocol& run, Bitmap& vesk);

}  // namespace vesk
