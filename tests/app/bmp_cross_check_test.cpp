// Our BMP files read by Qt's independent BMP reader, and BMP files written
// by Qt read by ours: the two must agree on every pixel.
#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtTest>
#include <random>

#include "qtimage/image_convert.h"
#include "core/image/bmp_codec.h"

namespace vesk {
namespace {

Bitmap RandomBitmap(int width, int height, unsigned seed) {
  std::mt19937 rng(seed);
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, rng() & 0xFFFFFFu);
  }
  return b;
}

}  // namespace

class BmpCrossCheckTest : public QObject {
  Q_OBJECT
 private slots:
  void QtReadsOurFilesPixelForPixel_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    for (int w : {1, 2, 3, 4, 5, 17, 640}) {
      QTest::newRow(qPrintable(QString("%1x3").arg(w))) << w << 3;
    }
    QTest::newRow("1x1") << 1 << 1;
    QTest::newRow("33x480") << 33 << 480;
  }

  void QtReadsOurFilesPixelForPixel() {
    QFETCH(int, width);
    QFETCH(int, height);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const Bitmap ours = RandomBitmap(width, height, width * 7919u + height);
    const QString path = dir.filePath("ours.bmp");
    QVERIFY(SaveBmpFile(path.toStdString(), ours).Ok());

    QImageReader reader(path, "bmp");
    QImage read = reader.read();
    QVERIFY2(!read.isNull(), qPrintable(reader.errorString()));
    QCOMPARE(read.width(), width);
    QCOMPARE(read.height(), height);
    QVERIFY(FromQImage(read) == ours);
  }

  void OurReaderTakesQtsFiles_data() {
    QTest::addColumn<int>("format");
    QTest::newRow("rgb32") << int(QImage::Format_RGB32);
    QTest::newRow("rgb888") << int(QImage::Format_RGB888);
    QTest::newRow("indexed8") << int(QImage::Format_Indexed8);
    QTest::newRow("mono") << int(QImage::Format_Mono);
  }

  void OurReaderTakesQtsFiles() {
    QFETCH(int, format);
    const Bitmap source = RandomBitmap(37, 11, 5u + format);
    QImage image = ToQImage(source).convertToFormat(static_cast<QImage::Format>(format));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(image.save(&buffer, "BMP"));

    auto decoded = DecodeBmp(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size()));
    QVERIFY2(decoded.Ok(), decoded.Ok() ? "" : decoded.Message().c_str());
    // Compare with what Qt itself reads back from the same bytes.
    QImage qt_read = QImage::fromData(bytes, "BMP");
    QVERIFY(!qt_read.isNull());
    QVERIFY(decoded.Value() == FromQImage(qt_read));
  }
};

}  // namespace vesk

QTEST_GUILESS_MAIN(vesk::BmpCrossCheckTest)
#include "bmp_cross_check_test.moc"
