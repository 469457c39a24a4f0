// The real dialog behind UserDialogs::AskSequenceOptions: every option of a
// sequence in one form (how a pair is morphed, how the pictures are lined
// up, how new pairs are meshed, how the video is encoded). The ranges are
// the core's; the dialog holds no rule of its own.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QSpinBox>

#include "app/dialog_buttons.h"
#include "app/user_dialogs.h"
#include "core/generate/timing_curve.h"
#include "core/image/bitmap.h"

namespace vesk {
namespace {

QSpinBox* Spin(QDialog& dialog, const char* name, int min, int max, int value) {
  auto* spin = new QSpinBox(&dialog);
  spin->setObjectName(name);
  spin->setRange(min, max);
  spin->setValue(value);
  return spin;
}

// A list of the words of `values`, with `current` chosen.
template <typename T, std::size_t N, typename Word>
QComboBox* Choice(QDialog& dialog, const char* name, const T (&values)[N], T current, Word word) {
  auto* box = new QComboBox(&dialog);
  box->setObjectName(name);
  for (std::size_t i = 0; i < N; ++i) {
    box->addItem(QString::fromUtf8(word(values[i]).data(), qsizetype(word(values[i]).size())));
    if (values[i] == current) box->setCurrentIndex(int(i));
  }
  return box;
}

constexpr Renderer kRenderers[] = {Renderer::kSmooth, Renderer::kClassic};

}  // namespace

std::optional<SequenceOptions> QtUserDialogs::AskSequenceOptions(QWidget* parent,
                                                                 const SequenceOptions& initial) {
  QDialog dialog(parent);
  dialog.setObjectName("SequenceOptionsDialog");
  dialog.setWindowTitle("Sequence Options");
  auto* form = new QFormLayout(&dialog);
  auto* frames =
      Spin(dialog, "Frames", kMinFramesPerPair, kMaxFramesPerPair, initial.frames_per_pair);
  form->addRow("Frames a pair:", frames);
  auto* hold = Spin(dialog, "Hold", 0, kMaxHoldFrames, initial.hold);
  hold->setToolTip("Extra frames on every picture");
  form->addRow("Hold frames:", hold);
  auto* shape = Choice(dialog, "ShapeCurve", kTimingCurves, initial.curves.shape, CurveWord);
  form->addRow("Shape curve:", shape);
  auto* colour = Choice(dialog, "ColourCurve", kTimingCurves, initial.curves.colour, CurveWord);
  form->addRow("Colour curve:", colour);
  auto* loop = new QCheckBox("&Loop: the last picture morphs back into the first", &dialog);
  loop->setObjectName("Loop");
  loop->setChecked(initial.loop);
  form->addRow(loop);
  auto* align = new QCheckBox("&Align faces: every picture's eyes on the first's", &dialog);
  align->setObjectName("AlignFaces");
  align->setChecked(initial.align_faces);
  form->addRow(align);
  auto* renderer = Choice(dialog, "Renderer", kRenderers, initial.renderer, RendererWord);
  form->addRow("Renderer:", renderer);
  auto* method = Choice(dialog, "Method", kAutoMeshMethods, initial.method, MethodWord);
  method->setToolTip("How pairs meshed from now on find their points");
  form->addRow("Auto Mesh method:", method);
  auto* fps = Spin(dialog, "Fps", 1, kMaxSequenceFps, initial.fps);
  form->addRow("Frames a second:", fps);
  auto* own_size = new QCheckBox("Output &size:", &dialog);
  own_size->setObjectName("OwnSize");
  own_size->setChecked(initial.output_size.has_value());
  const ImageSize size = initial.output_size.value_or(ImageSize{640, 480});
  auto* width = Spin(dialog, "OutputWidth", 1, kMaxBitmapSide, size.width);
  auto* height = Spin(dialog, "OutputHeight", 1, kMaxBitmapSide, size.height);
  auto* size_row = new QHBoxLayout;
  size_row->addWidget(width);
  size_row->addWidget(height);
  form->addRow(own_size, size_row);
  for (QSpinBox* spin : {width, height}) {
    spin->setEnabled(own_size->isChecked());
    QObject::connect(own_size, &QCheckBox::toggled, spin, &QWidget::setEnabled);
  }
  own_size->setToolTip("Unchecked: the first picture's size");
  auto* quality = Spin(dialog, "Quality", 0, kMaxSequenceQuality, initial.quality);
  quality->setToolTip("0 the smallest file, 100 the best picture");
  form->addRow("Quality:", quality);
  auto* lossless = new QCheckBox("Lossless (WebM only)", &dialog);
  lossless->setObjectName("Lossless");
  lossless->setChecked(initial.lossless);
  form->addRow(lossless);
  AddOkCancelRow(dialog, *form);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;

  SequenceOptions chosen = initial;
  chosen.frames_per_pair = frames->value();
  chosen.hold = hold->value();
  chosen.curves = {kTimingCurves[shape->currentIndex()], kTimingCurves[colour->currentIndex()]};
  chosen.loop = loop->isChecked();
  chosen.align_faces = align->isChecked();
  chosen.renderer = kRenderers[renderer->currentIndex()];
  chosen.method = kAutoMeshMethods[method->currentIndex()];
  chosen.fps = fps->value();
  chosen.output_size = own_size->isChecked()
                           ? std::optional<ImageSize>(ImageSize{width->value(), height->value()})
                           : std::nullopt;
  chosen.quality = quality->value();
  chosen.lossless = lossless->isChecked();
  return chosen;
}

}  // namespace vesk
