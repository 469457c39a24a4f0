// Makes the photo cases of the picture reader's tests (tests/data/photos/)
// from the two public-domain portraits in tests/data, with Qt alone; the
// HEIF and AVIF cases are then made by tests/data/make_photo_cases.sh with
// libheif's heif-enc. Run through that script.
//
//   portrait.png               grace_hopper.jpg at 192 x 225, the upright reference
//   orientation_N.jpg          N = 1 .. 8: the reference stored turned the other way,
//                              with EXIF orientation N saying how to turn it back
//   astronaut.png              astronaut.png at 192 x 192, the reference of the rest
//   astronaut.webp             lossy WebP
//   astronaut_p3.jpg           pixels converted to Display P3, its ICC profile embedded
//   astronaut_p3.png           the same, for heif-enc (which keeps the profile; then removed)
//   astronaut_16bit.tif        96 x 96 crop, 16 bits a channel: reference x 257 +- 100
//   astronaut_16bit_alpha.png  the same crop, 16-bit RGBA: opaque, clear and half
//                              transparent thirds
// Every orientation case is checked against Qt's own EXIF turning before
// it is kept, so the cases do not rest on the program's reading of them.
#include <QColorSpace>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QTransform>
#include <cmath>
#include <cstdio>

namespace {

QByteArray Tiff(int orientation) {  // little endian, one entry: the orientation
  const char bytes[] = {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0,
                        static_cast<char>(orientation), 0, 0, 0, 0, 0, 0, 0};
  return QByteArray(bytes, sizeof bytes);
}

// The JPEG `jpeg` with an APP1 Exif segment right after its start marker.
QByteArray WithOrientation(const QByteArray& jpeg, int orientation) {
  const QByteArray exif = QByteArray("Exif\0\0", 6) + Tiff(orientation);
  const int length = exif.size() + 2;
  QByteArray segment("\xFF\xE1", 2);
  segment.append(static_cast<char>(length >> 8)).append(static_cast<char>(length & 0xFF));
  return jpeg.left(2) + segment + exif + jpeg.mid(2);
}

// How the stored pixels are made from the upright picture: the inverse of
// what orientation N asks the reader to do.
QImage Stored(const QImage& upright, int orientation) {
  switch (orientation) {
    case 2: return upright.mirrored(true, false);
    case 3: return upright.mirrored(true, true);
    case 4: return upright.mirrored(false, true);
    case 5: return upright.transformed(QTransform(0, 1, 1, 0, 0, 0));  // transposed
    case 6: return upright.transformed(QTransform().rotate(-90));
    case 7: return upright.transformed(QTransform(0, -1, -1, 0, 0, 0));
    case 8: return upright.transformed(QTransform().rotate(90));
    default: return upright;
  }
}

double Psnr(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return 0;
  double sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      for (int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)}) sum += d * d;
    }
  }
  const double mse = sum / (3.0 * a.width() * a.height());
  return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

bool Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_photo_cases DATA_FOLDER OUT_FOLDER\n");
    return 2;
  }
  const QString data = argv[1], out = QString(argv[2]) + "/";
  const QImage portrait = QImage(data + "/grace_hopper.jpg")
                              .convertToFormat(QImage::Format_RGB32)
                              .scaled(192, 225, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  const QImage astronaut = QImage(data + "/astronaut.png")
                               .convertToFormat(QImage::Format_RGB32)
                               .scaled(192, 192, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  bool ok = portrait.save(out + "portrait.png") && astronaut.save(out + "astronaut.png");

  for (int n = 1; n <= 8; ++n) {
    const QString name = out + QString("orientation_%1.jpg").arg(n);
    QByteArray jpeg;
    {
      QFile buffer(name);
      ok = ok && Stored(portrait, n).save(name, "JPEG", 90) && buffer.open(QIODevice::ReadOnly);
      jpeg = buffer.readAll();
    }
    ok = ok && Write(name, WithOrientation(jpeg, n));
    QImageReader qt_turned(name);
    qt_turned.setAutoTransform(true);
    const double psnr = Psnr(qt_turned.read().convertToFormat(QImage::Format_RGB32), portrait);
    std::printf("orientation %d: Qt's own turning gives the portrait at %.1f dB\n", n, psnr);
    ok = ok && psnr > 30;
  }

  ok = ok && astronaut.save(out + "astronaut.webp", "WEBP", 90);
  QImage p3 = astronaut;
  p3.setColorSpace(QColorSpace::SRgb);
  p3.convertToColorSpace(QColorSpace::DisplayP3);
  ok = ok && p3.save(out + "astronaut_p3.jpg", "JPEG", 95) && p3.save(out + "astronaut_p3.png");

  const QImage crop = astronaut.copy(48, 16, 96, 96);
  QImage deep(96, 96, QImage::Format_RGBX64), clear(96, 96, QImage::Format_RGBA64);
  for (int y = 0; y < 96; ++y) {
    for (int x = 0; x < 96; ++x) {
      const QRgb c = crop.pixel(x, y);
      // 100 above or below the exact 16-bit value: only rounding gives the reference back.
      const int d = (x + y) % 2 ? 100 : -100;
      const auto wide = [d](int v) {
        return static_cast<quint16>(std::clamp(v * 257 + d, 0, 65535));
      };
      deep.setPixelColor(x, y, QColor::fromRgba64(wide(qRed(c)), wide(qGreen(c)), wide(qBlue(c))));
      const quint16 alpha = x < 32 ? 65535 : x < 64 ? 0 : 32768;
      clear.setPixelColor(
          x, y, QColor::fromRgba64(qRed(c) * 257, qGreen(c) * 257, qBlue(c) * 257, alpha));
    }
  }
  ok = ok && deep.save(out + "astronaut_16bit.tif") &&
       clear.save(out + "astronaut_16bit_alpha.png");
  if (!ok) std::fprintf(stderr, "make_photo_cases: a case could not be made\n");
  return ok ? 0 : 1;
}
