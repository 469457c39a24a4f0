// The image commands of the main window that move whole pictures between
// the windows, BMP files, the clipboard and the printer.
#pragma once

#include <optional>
#include <string>

#include "core/image/bitmap.h"

class QPrinter;
class QWidget;

namespace vesk {

class UserDialogs;

// "Save Vesk Image as..": the save dialog with "Bitmap Files|*.bmp|All
// Files|*.*"; a name without ".BMP" in its upper-case form gets ".bmp"
// appended; the picture is written as a BMP file. A refused save is reported.
// The caller updates the command state afterwards; MeshSaved is not touched.
void SaveVeskImageAs(QWidget* parent, UserDialogs& dialogs, const Bitmap& vesk_picture);

// Copy: puts exactly this bitmap on the clipboard as an image.
void CopyBitmapToClipboard(const Bitmap& bitmap);
// True when the clipboard holds an image.
bool ClipboardHasBitmap();
// The clipboard's image, or nothing when it holds none (the caller shows
// "There is no bitmap on the Clipboard").
std::optional<Bitmap> BitmapFromClipboard();
// The size limit's message when the clipboard's image is larger than a
// bitmap may be, else "".
std::string ClipboardImageSizeProblem();

// Print: the print dialog, then the picture stretched over the whole
// printable area of one page. Errors are shown in a plain message box.
void PrintBitmap(QWidget* parent, UserDialogs& dialogs, QPrinter& printer,
                 const Bitmap& picture);
// Printer Setup: the printer, paper and orientation for the next print;
// with no printer installed, "There is no printer to set up".
void RunPrinterSetup(QWidget* parent, UserDialogs& dialogs, QPrinter& printer);

}  // namespace vesk
