// The image commands: Save Vesk image as with its name rule, the clipboard,
// printing one stretched page (to a PDF file, checked with pdftoppm where
// installed) and the printer set-up.
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "app/image_commands.h"
#include "qtimage/image_convert.h"
#include "core/image/bmp_codec.h"
#include "support/scripted_dialogs.h"

using namespace vesk;

namespace {

Bitmap Picture() {
  Bitmap b(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) b.SetPixel(x, y, MakeColor(50 * x, 100 * y, 7));
  return b;
}

// Four quadrants of one colour each, 16 x 16 pixels apiece (whole blocks,
// so a JPEG-compressed picture in the PDF keeps the colours).
Bitmap Quadrants() {
  Bitmap b(32, 32);
  const Color colors[2][2] = {{MakeColor(255, 0, 0), MakeColor(0, 255, 0)},
                              {MakeColor(0, 0, 255), MakeColor(255, 255, 0)}};
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) b.SetPixel(x, y, colors[y / 16][x / 16]);
  return b;
}

bool Near(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) < 40 && std::abs(qGreen(a) - qGreen(b)) < 40 &&
         std::abs(qBlue(a) - qBlue(b)) < 40;
}

}  // namespace

class ImageCommandsTest : public QObject {
  Q_OBJECT

 private:
  QString saved_folder_;

  // Runs Save Vesk Image as with the dialog answering `typed`; answers the
  // files the folder then holds.
  QStringList SaveAs(const QTemporaryDir& dir, const QString& typed, ScriptedDialogs& dialogs) {
    dialogs.save_answers.push_back(dir.filePath(typed));
    SaveVeskImageAs(nullptr, dialogs, Picture());
    return QDir(dir.path()).entryList(QDir::Files, QDir::Name);
  }

 private slots:
  void initTestCase() { saved_folder_ = QDir::currentPath(); }
  void cleanup() { QDir::setCurrent(saved_folder_); }

  void SaveAppendsBmpToAPlainName() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    QCOMPARE(SaveAs(dir, "frame", dialogs), QStringList{"frame.bmp"});
    QCOMPARE(dialogs.filters, QStringList{"Bitmap Files|*.bmp|All Files|*.*"});
    QCOMPARE(dialogs.titles, QStringList{QString()});  // the platform's own title
    Result<Bitmap> back = LoadBmpFile(dir.filePath("frame.bmp").toStdString());
    QVERIFY(back.Ok());
    QVERIFY(back.Value() == Picture());
    QCOMPARE(dialogs.messages.size(), std::size_t{0});
  }

  void SaveKeepsNamesHoldingBmpInAnyCase() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    QCOMPARE(SaveAs(dir, "FRAME.BMP", dialogs), QStringList{"FRAME.BMP"});
    QTemporaryDir other;
    QCOMPARE(SaveAs(other, "a.bmp.old", dialogs), QStringList{"a.bmp.old"});
    QVERIFY(LoadBmpFile(other.filePath("a.bmp.old").toStdString()).Value() == Picture());
  }

  void SaveReplacesAnExistingFile() {
    QTemporaryDir dir;
    QFile old(dir.filePath("x.bmp"));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    ScriptedDialogs dialogs;
    QCOMPARE(SaveAs(dir, "x.bmp", dialogs), QStringList{"x.bmp"});
    QVERIFY(LoadBmpFile(dir.filePath("x.bmp").toStdString()).Value() == Picture());
  }

  void CancelledSaveWritesNothing() {
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    ScriptedDialogs dialogs;
    dialogs.save_answers.push_back(std::nullopt);
    SaveVeskImageAs(nullptr, dialogs, Picture());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{});
    QCOMPARE(dialogs.unexpected, 0);
  }

  void RefusedSaveIsReported() {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    dialogs.save_answers.push_back(dir.filePath("missing/folder/pic"));
    SaveVeskImageAs(nullptr, dialogs, Picture());
    QCOMPARE(dialogs.messages.size(), std::size_t{1});
    QCOMPARE(dialogs.messages[0].caption, QString("Trelvanique"));
    QVERIFY(dialogs.messages[0].text.endsWith("."));
    QVERIFY(!QFile::exists(dir.filePath("missing/folder/pic.bmp")));
  }

  void PasteWithoutABitmapFindsNone() {
    QGuiApplication::clipboard()->clear();
    QVERIFY(!ClipboardHasBitmap());
    QVERIFY(!BitmapFromClipboard().has_value());
    QGuiApplication::clipboard()->setText("just text");
    QVERIFY(!ClipboardHasBitmap());
    QVERIFY(!BitmapFromClipboard().has_value());
  }

  void CopyPutsExactlyTheBitmapOnTheClipboard() {
    const Bitmap picture = Picture();
    CopyBitmapToClipboard(picture);
    QVERIFY(ClipboardHasBitmap());
    QImage on_clipboard = QGuiApplication::clipboard()->image();
    QCOMPARE(on_clipboard.size(), QSize(5, 3));
    QVERIFY(FromQImage(on_clipboard) == picture);
    std::optional<Bitmap> pasted = BitmapFromClipboard();
    QVERIFY(pasted.has_value());
    QVERIFY(*pasted == picture);
  }

  void PrintFillsThePrintableAreaOfOnePage() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("page.pdf");
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(10, 20, 10, 20), QPageLayout::Millimeter);
    ScriptedDialogs dialogs;
    dialogs.printer_answers.push_back(true);
    PrintBitmap(nullptr, dialogs, printer, Quadrants());
    QCOMPARE(dialogs.messages.size(), std::size_t{0});
    QVERIFY(QFileInfo(pdf).size() > 0);

    const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
    if (pdftoppm.isEmpty()) QSKIP("pdftoppm (poppler-utils) is not installed");
    QProcess render;
    render.start(pdftoppm, {"-r", "25.4", "-png", pdf, dir.filePath("page")});
    QVERIFY(render.waitForFinished(30000));
    QCOMPARE(render.exitCode(), 0);
    const QStringList pages = QDir(dir.path()).entryList({"page*.png"});
    QCOMPARE(pages.size(), qsizetype{1});  // one page
    QImage page(dir.filePath(pages.first()));
    // At 25.4 dots per inch one pixel is one millimetre: A4 is 210 x 297.
    QVERIFY(std::abs(page.width() - 210) <= 1);
    QVERIFY(std::abs(page.height() - 297) <= 1);
    // The printable area is x 10..200, y 20..277: each quadrant of the
    // square picture covers 95 x 128.5 of it, so the square is stretched.
    const QRgb red = qRgb(255, 0, 0), green = qRgb(0, 255, 0), blue = qRgb(0, 0, 255),
               yellow = qRgb(255, 255, 0), white = qRgb(255, 255, 255);
    // Points near each quadrant's corners (clear of the smoothing at the
    // inner boundaries, about one source pixel wide) and each centre.
    const int points[4][3][2] = {{{15, 25}, {57, 84}, {90, 132}},
                                 {{120, 25}, {153, 84}, {195, 132}},
                                 {{15, 165}, {57, 213}, {90, 270}},
                                 {{120, 165}, {153, 213}, {195, 270}}};
    const QRgb colors[4] = {red, green, blue, yellow};
    for (int q = 0; q < 4; ++q) {
      for (const auto& p : points[q]) {
        QVERIFY2(Near(page.pixel(p[0], p[1]), colors[q]),
                 qPrintable(QString("quadrant %1 at %2,%3").arg(q).arg(p[0]).arg(p[1])));
      }
    }
    // The margins stay white.
    QVERIFY(Near(page.pixel(5, 150), white));
    QVERIFY(Near(page.pixel(205, 150), white));
    QVERIFY(Near(page.pixel(105, 12), white));
    QVERIFY(Near(page.pixel(105, 285), white));
  }

  void CancelledPrintPrintsNothing() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("page.pdf");
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    ScriptedDialogs dialogs;
    dialogs.printer_answers.push_back(false);
    PrintBitmap(nullptr, dialogs, printer, Quadrants());
    QVERIFY(!QFile::exists(pdf));
    QCOMPARE(dialogs.messages.size(), std::size_t{0});
  }

  void PrintErrorIsShownInAPlainBox() {
    QTemporaryDir dir;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("no/such/folder/page.pdf"));
    ScriptedDialogs dialogs;
    dialogs.printer_answers.push_back(true);
    PrintBitmap(nullptr, dialogs, printer, Quadrants());
    QCOMPARE(dialogs.messages.size(), std::size_t{1});
    QCOMPARE(dialogs.messages[0].caption, QString("Trelvanique"));
    QCOMPARE(dialogs.messages[0].text, QString("The printer could not start the document"));
  }

  void PrinterSetupAsksTheDialog() {
    if (QPrinterInfo::availablePrinterNames().isEmpty()) QSKIP("no printer installed");
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    ScriptedDialogs dialogs;
    dialogs.printer_answers.push_back(true);
    RunPrinterSetup(nullptr, dialogs, printer);
    QVERIFY(dialogs.printer_answers.empty());
    QCOMPARE(dialogs.unexpected, 0);
    QCOMPARE(dialogs.messages.size(), std::size_t{0});
  }
};

QTEST_MAIN(ImageCommandsTest)
#include "image_commands_test.moc"
