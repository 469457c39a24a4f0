#include "app/image_commands.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>

#include "app/user_dialogs.h"
#include "core/image/bmp_codec.h"
#include "core/image/bmp_save_name.h"
#include "pictures/image_convert.h"

namespace vesk {
namespace {

const QString kTitle = "Trelvanique";

}  // namespace

void SaveVeskImageAs(QWidget* parent, UserDialogs& dialogs, const Bitmap& vesk_picture) {
  std::optional<QString> chosen =
      dialogs.SaveFileName(parent, QString(), "Bitmap Files|*.bmp|All Files|*.*", QString());
  if (!chosen) return;
  const std::string name = BmpSaveName(chosen->toStdString());
  Status saved = SaveBmpFile(name, vesk_picture);
  if (!saved) dialogs.Error(parent, kTitle, QString::fromStdString(saved.Message()) + ".");
}

void CopyBitmapToClipboard(const Bitmap& bitmap) {
  QGuiApplication::clipboard()->setImage(ToQImage(bitmap));
}

bool ClipboardHasBitmap() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data != nullptr && data->hasImage();
}

std::optional<Bitmap> BitmapFromClipboard() {
  if (!ClipboardHasBitmap()) return std::nullopt;
  QImage image = QGuiApplication::clipboard()->image();
  if (image.isNull()) return std::nullopt;
  return FromQImage(image);
}

std::string ClipboardImageSizeProblem() {
  if (!ClipboardHasBitmap()) return {};
  const QImage image = QGuiApplication::clipboard()->image();
  return CheckBitmapSize(image.width(), image.height());
}

void PrintBitmap(QWidget* parent, UserDialogs& dialogs, QPrinter& printer, const Bitmap& picture) {
  if (!dialogs.PrintDialog(parent, printer)) return;
  // The whole printable area of the page in device pixels; the painter's
  // origin is the printable area's top-left corner.
  const QRect target(0, 0, printer.width(), printer.height());
  const QImage copy = ToQImage(picture);  // the temporary bitmap
  QPainter painter;
  if (!painter.begin(&printer)) {
    dialogs.Message(parent, kTitle, "The printer could not start the document");
    return;
  }
  painter.drawImage(target, copy);
  if (!painter.end() || printer.printerState() == QPrinter::Error) {
    dialogs.Message(parent, kTitle, "The printer reported an error while printing");
  }
}

void RunPrinterSetup(QWidget* parent, UserDialogs& dialogs, QPrinter& printer) {
  // Without an installed printer Qt would offer its PDF writer; there is
  // nothing to set up, and no dialog is made that could warn on the terminal.
  if (!dialogs.PrinterInstalled() || !printer.isValid()) {
    dialogs.Message(parent, kTitle, "There is no printer to set up");
    return;
  }
  dialogs.PrinterSetup(parent, printer);
}

}  // namespace vesk
