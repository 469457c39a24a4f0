#include "app/image_commands.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>

#include "app/image_convert.h"
#include "app/user_dialogs.h"
#include "core/image/bmp_codec.h"
#include "core/image/bmp_save_name.h"

namespace vesk {
namespace {

const QString kTitle = "Trelvanique";

}  // namespace

void SaveVeskImageAs(QWidget* parent, UserDialogs& dialogs, const Bitmap& vesk_picture) {
  auto chosen = dialogs.SaveFileName(parent, "Save Vesk Image as", "Bitmap Files|*.bmp|All Files|*.*",
                                     QString());
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

void PrintBitmap(QWidget* parent, UserDialogs& dialogs, QPrinter& printer, const Bitmap& picture) {
  if (!dialogs.PrintDialog(parent, printer)) return;
  QRect target(QPoint(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
  QImage image = ToQImage(picture);
  QPainter painter;
  if (!painter.begin(&printer)) {
    dialogs.Message(parent, kTitle, "Printing failed");
    return;
  }
  painter.drawImage(target, image);
  painter.end();
}

void RunPrinterSetup(QWidget* parent, UserDialogs& dialogs, QPrinter& printer) {
  dialogs.PrinterSetup(parent, printer);
}

}  // namespace vesk
