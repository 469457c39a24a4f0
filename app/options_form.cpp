#include "app/options_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/design_font.h"
#include "app/int_edit.h"
#include "core/effects/flag_preview.h"
#include "core/settings/options_rules.h"
#include "pictures/image_convert.h"

namespace vesk {
namespace {

constexpr int kClientWidth = 320;
constexpr int kClientHeight = 183;
constexpr int kButtonRowHeight = 33;  // below the pages
constexpr int kTimerPeriodMs = 300;

enum Edit { kEdit1, kEdit2, kEdit3, kEdit4, kEdit5, kEdit6 };

QColor ToQColor(Color c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

// A group of a page of our own fills it with the margins of the designed
// pages' groups (4, 2 .. 310, 116 on a page of 316 x 125), so the page asks
// for the room its group's controls need.
void FillPage(QWidget* page, QGroupBox* group) {
  auto* fill = new QVBoxLayout(page);
  fill->setContentsMargins(4, 2, 6, 9);
  fill->addWidget(group);
}

QLabel* MakeLabel(const QString& text, QWidget* parent, int left, int top) {
  auto* label = new QLabel(text, parent);
  label->move(left, top);
  label->adjustSize();
  return label;
}

}  // namespace

TShape::TShape(QWidget* parent, Color brush) : QWidget(parent), brush_(brush) {}

void TShape::SetBrushColor(Color color) {
  if (brush_ == color) return;
  brush_ = color;
  update();
}

void TShape::paintEvent(QPaintEvent*) {
  if (width() <= 0 || height() <= 0) return;
  QPainter painter(this);
  painter.fillRect(rect(), ToQColor(brush_));
  painter.setPen(Qt::black);
  painter.drawRect(0, 0, width() - 1, height() - 1);
}

TOptionsForm::TOptionsForm(const Settings& settings, QWidget* parent, Renderer renderer,
                           const RunTiming& timing)
    : QDialog(parent),
      settings_(settings),
      stored_(settings),
      renderer_(renderer),
      stored_renderer_(renderer),
      timing_(timing),
      stored_timing_(timing) {
  setObjectName("OptionsForm");
  setWindowTitle("Options");
  // No help button. The dialog may be made larger than it opens.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFont(DesignFont());

  page_control_ = new QTabWidget(this);
  page_control_->setObjectName("PageControl1");
  const char* names[] = {"TabSheet1", "TabSheet2", "TabSheet3"};
  const char* captions[] = {"Sheet Glass", "Flag Streaming", "Costumize"};
  QWidget* pages[3];
  for (int i = 0; i < 3; ++i) {
    pages[i] = new QWidget;
    pages[i]->setObjectName(names[i]);
    page_control_->addTab(pages[i], captions[i]);
  }
  BuildSheetPage(pages[0]);
  BuildFlagPage(pages[1]);
  BuildColorPage(pages[2]);
  auto* rendering = new QWidget;
  rendering->setObjectName("RenderingSheet");
  page_control_->addTab(rendering, "Rendering");
  BuildRenderingPage(rendering);
  auto* timing_page = new QWidget;
  timing_page->setObjectName("TimingSheet");
  page_control_->addTab(timing_page, "Timing");
  BuildTimingPage(timing_page);
  page_control_->setCurrentIndex(0);

  ok_button_ = new QPushButton("&OK", this);
  ok_button_->setObjectName("Button1");
  ok_button_->resize(75, 25);
  ok_button_->setDefault(true);
  cancel_button_ = new QPushButton("&Cancel", this);
  cancel_button_->setObjectName("Button2");
  cancel_button_->resize(75, 25);
  // The designed 320 x 183, or larger where the font needs it: every tab
  // shown in the row (no scroll arrows) and every page's controls whole.
  const QSize fitted(
      std::max(kClientWidth, page_control_->tabBar()->sizeHint().width() + 4),
      std::max(kClientHeight, page_control_->minimumSizeHint().height() + kButtonRowHeight));
  setMinimumSize(fitted);
  resize(fitted);
  LayOut();
  connect(ok_button_, &QPushButton::clicked, this, &TOptionsForm::Button1Click);
  connect(cancel_button_, &QPushButton::clicked, this, &TOptionsForm::Button2Click);

  timer_ = new QTimer(this);
  timer_->setObjectName("Timer1");
  timer_->setInterval(kTimerPeriodMs);
  connect(timer_, &QTimer::timeout, this, &TOptionsForm::Edit5Change);

  // FormCreate: the preview bitmap takes the size of Image1.
  flag_preview_bitmap_ = Bitmap(kFlagPreviewWidth, kFlagPreviewHeight);

  // Before activation only Edit1, Edit5 and Edit6 react to changes.
  connect(edits_[kEdit1], &QLineEdit::textChanged, this, &TOptionsForm::Edit1Change);
  connect(edits_[kEdit5], &QLineEdit::textChanged, this, &TOptionsForm::Edit5Change);
  connect(edits_[kEdit6], &QLineEdit::textChanged, this, &TOptionsForm::Edit6Change);
  connect(page_control_, &QTabWidget::currentChanged, this, &TOptionsForm::PageOnChange);
}

TOptionsForm::~TOptionsForm() = default;

QLineEdit* TOptionsForm::MakeEdit(int index, QWidget* parent, int left, int top, int min,
                                  int max) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString("Edit%1").arg(index + 1));
  edit->setGeometry(left, top, 34, 21);
  edit->setText(QString::number(min));
  auto* up_down = new TUpDown(edit, min, max, min, parent);
  up_down->setObjectName(QString("UpDown%1").arg(index + 1));
  up_down->setGeometry(left + 34, top, 15, 21);
  // Installed after the arrows' filter, so it sees every key first.
  edit->installEventFilter(this);
  edits_[index] = edit;
  up_downs_[index] = up_down;
  min_[index] = min;
  max_[index] = max;
  return edit;
}

void TOptionsForm::BuildSheetPage(QWidget* page) {
  auto* group = new QGroupBox("Sheet Size", page);
  group->setObjectName("GroupBox1");
  group->setGeometry(4, 2, 306, 114);
  MakeLabel("Horizontal Size: ", group, 10, 30);
  MakeEdit(kEdit1, group, 96, 26, 0, 100);
  MakeLabel("Vertical Size:", group, 10, 66);
  MakeEdit(kEdit2, group, 96, 62, 0, 100);
  sheet_shape_ = new TShape(group);
  sheet_shape_->setObjectName("Shape1");
  const PreviewRect r = SheetPreviewRect(settings_.SheetHorzSize, settings_.SheetVertSize);
  sheet_shape_->setGeometry(r.left, r.top, r.width, r.height);
}

void TOptionsForm::BuildFlagPage(QWidget* page) {
  auto* group = new QGroupBox(page);
  group->setObjectName("GroupBox2");
  group->setGeometry(4, 2, 306, 114);
  MakeLabel("Flag Radius:", group, 8, 18);
  MakeEdit(kEdit3, group, 128, 14, 1, 15);
  MakeLabel("Horizontal Quotient:", group, 8, 50);
  MakeEdit(kEdit4, group, 128, 46, 0, 10);
  MakeLabel("Vertical Quotient:", group, 8, 82);
  MakeEdit(kEdit5, group, 128, 78, 0, 10);
  flag_image_ = new QLabel(group);
  flag_image_->setObjectName("Image1");
  flag_image_->setGeometry(192, 14, kFlagPreviewWidth, kFlagPreviewHeight);
}

void TOptionsForm::BuildColorPage(QWidget* page) {
  auto* group = new QGroupBox("Colors", page);
  group->setObjectName("GroupBox3");
  group->setGeometry(4, 2, 220, 114);
  const char* captions[] = {"Selected Nod:", "Previous Nod:", "Not Selected Nod:", "Line:"};
  const Color colors[] = {settings_.SelectedNodeColor, settings_.PreviousNodeColor,
                          settings_.NodeColor, settings_.LineColor};
  for (int i = 0; i < 4; ++i) {
    radios_[i] = new QRadioButton(captions[i], group);
    radios_[i]->setObjectName(QString("RadioButton%1").arg(i + 1));
    radios_[i]->move(8, 18 + i * 24);
    radios_[i]->adjustSize();
    swatches_[i] = new TShape(group, colors[i]);
    swatches_[i]->setObjectName(QString("Shape%1").arg(i + 2));
    swatches_[i]->setGeometry(134, 19 + i * 24, 22, 16);
  }
  radios_[0]->setChecked(true);
  for (int i = 0; i < 3; ++i) {
    scroll_bars_[i] = new QScrollBar(Qt::Vertical, group);
    scroll_bars_[i]->setObjectName(QString("ScrollBar%1").arg(i + 1));
    scroll_bars_[i]->setRange(0, 255);
    scroll_bars_[i]->setPageStep(16);
    scroll_bars_[i]->setGeometry(162 + i * 18, 16, 16, 92);
  }
  MakeLabel("Node Size:", page, 232, 12);
  MakeEdit(kEdit6, page, 232, 30, 1, 12);
  node_shape_ = new TShape(page);
  node_shape_->setObjectName("Shape6");
  node_shape_->setGeometry(288, 30, NodePreviewSide(settings_.NodeSize),
                           NodePreviewSide(settings_.NodeSize));
  equalize_box_ = new QCheckBox("Equalize", page);
  equalize_box_->setObjectName("CheckBox1");
  equalize_box_->setToolTip("Equalize Pictures");
  equalize_box_->move(232, 92);
  equalize_box_->adjustSize();
}

void TOptionsForm::BuildRenderingPage(QWidget* page) {
  auto* group = new QGroupBox("Frames of Ombrix and Distorsion", page);
  group->setObjectName("RenderingGroup");
  FillPage(page, group);
  const char* names[] = {"RenderingClassic", "RenderingSmooth"};
  const char* captions[] = {"Classic", "Smooth"};
  const char* notes[] = {"Flat pieces cut by halving; Precision sets their size.",
                         "Each pixel through its triangle's exact map: sharp edges, "
                         "smooth motion."};
  for (int i = 0; i < 2; ++i) {
    rendering_[i] = new QRadioButton(captions[i], group);
    rendering_[i]->setObjectName(names[i]);
    rendering_[i]->move(8, 18 + i * 48);
    rendering_[i]->adjustSize();
    auto* note = new QLabel(notes[i], group);
    note->setWordWrap(true);
    note->setGeometry(26, 36 + i * 48, 272, 28);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  }
}

void TOptionsForm::BuildTimingPage(QWidget* page) {
  auto* group = new QGroupBox("Frames of Ombrix and Distorsion", page);
  group->setObjectName("TimingGroup");
  FillPage(page, group);
  auto* form = new QFormLayout(group);
  const char* names[] = {"ShapeCurveBox", "ColourCurveBox"};
  const char* captions[] = {"Shape:", "Colour:"};
  for (int i = 0; i < 2; ++i) {
    curve_boxes_[i] = new QComboBox(group);
    curve_boxes_[i]->setObjectName(names[i]);
    // In the order of kTimingCurves.
    curve_boxes_[i]->addItems({"Linear", "Ease in", "Ease out", "Ease in and out"});
    form->addRow(captions[i], curve_boxes_[i]);
  }
  hold_box_ = new QSpinBox(group);
  hold_box_->setObjectName("HoldBox");
  hold_box_->setRange(0, kMaxHoldFrames);
  hold_box_->setToolTip("Extra copies of the first and the last frame");
  form->addRow("Hold frames:", hold_box_);
}

void TOptionsForm::ConnectChangeHandlers() {
  // Connected at activation and again at every page change; a connection
  // that exists already is kept as it is.
  const auto unique = Qt::UniqueConnection;
  connect(edits_[kEdit2], &QLineEdit::textChanged, this, &TOptionsForm::Edit1Change, unique);
  connect(edits_[kEdit3], &QLineEdit::textChanged, this, &TOptionsForm::Edit5Change, unique);
  connect(edits_[kEdit4], &QLineEdit::textChanged, this, &TOptionsForm::Edit5Change, unique);
  for (QScrollBar* bar : scroll_bars_) {
    connect(bar, &QScrollBar::valueChanged, this, &TOptionsForm::ScrollBar1Change, unique);
  }
  if (!connected_) {
    for (int i = 0; i < 4; ++i) {
      connect(radios_[i], &QRadioButton::toggled, this, [this, i](bool checked) {
        if (checked) RadioButtonClick(i + 1);
      });
    }
    connected_ = true;
  }
}

int TOptionsForm::EditValue(int index) const {
  return IntegerFromText(edits_[index]->text().toStdString()).value_or(min_[index]);
}

void TOptionsForm::ClampEdit(int index) {
  std::optional<std::string> text =
      ClampedEditText(edits_[index]->text().toStdString(), min_[index], max_[index]);
  // Setting the text runs the edit's change handler again, which then finds
  // the value in range.
  if (text) edits_[index]->setText(QString::fromStdString(*text));
}

void TOptionsForm::SizeNodePreview() {
  const int side = NodePreviewSide(EditValue(kEdit6));
  node_shape_->resize(side, side);
}

void TOptionsForm::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  LayOut();
}

void TOptionsForm::LayOut() {
  // The pages take the room; OK and Cancel stay in the bottom right corner.
  page_control_->setGeometry(0, 0, width(), height() - kButtonRowHeight);
  ok_button_->move(width() - 164, height() - 29);
  cancel_button_->move(width() - 80, height() - 29);
}

void TOptionsForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  // The dialog opens centred on the screen, not over its owner.
  if (const QScreen* screen = this->screen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  FormActivate();
}

void TOptionsForm::FormActivate() {
  edits_[kEdit1]->setText(QString::number(settings_.SheetHorzSize));
  edits_[kEdit2]->setText(QString::number(settings_.SheetVertSize));
  edits_[kEdit3]->setText(QString::number(settings_.FlagRadius));
  edits_[kEdit4]->setText(QString::number(settings_.FlagHorzQuotient));
  edits_[kEdit5]->setText(QString::number(settings_.FlagVertQuotient));
  edits_[kEdit6]->setText(QString::number(settings_.NodeSize));
  swatches_[0]->SetBrushColor(settings_.SelectedNodeColor);
  swatches_[1]->SetBrushColor(settings_.PreviousNodeColor);
  swatches_[2]->SetBrushColor(settings_.NodeColor);
  swatches_[3]->SetBrushColor(settings_.LineColor);
  const PreviewRect r = SheetPreviewRect(EditValue(kEdit1), EditValue(kEdit2));
  sheet_shape_->setGeometry(r.left, r.top, r.width, r.height);
  SizeNodePreview();
  equalize_box_->setChecked(settings_.Equalize != 0);
  rendering_[renderer_ == Renderer::kSmooth ? 1 : 0]->setChecked(true);
  curve_boxes_[0]->setCurrentIndex(static_cast<int>(timing_.curves.shape));
  curve_boxes_[1]->setCurrentIndex(static_cast<int>(timing_.curves.colour));
  hold_box_->setValue(timing_.hold);
  ConnectChangeHandlers();
  for (int i = 0; i < 4; ++i) {
    if (radios_[i]->isChecked()) RadioButtonClick(i + 1);
  }
  color_updating_ = false;
  preview_frame_ = 0;
  timer_->start();
}

void TOptionsForm::Edit1Change() {
  ClampEdit(kEdit1);
  ClampEdit(kEdit2);
  const PreviewRect r = SheetPreviewRect(EditValue(kEdit1), EditValue(kEdit2));
  sheet_shape_->setGeometry(r.left, r.top, r.width, r.height);
}

void TOptionsForm::Edit5Change() {
  ClampEdit(kEdit3);
  ClampEdit(kEdit4);
  ClampEdit(kEdit5);
  const int radius = EditValue(kEdit3);
  const int frame_count = settings_.FrameCount;
  flag_preview_bitmap_ = Bitmap(flag_image_->width(), flag_image_->height());
  PaintFlagPreview(flag_preview_bitmap_, radius, EditValue(kEdit4), EditValue(kEdit5),
                   FlagPreviewPhase(preview_frame_, frame_count));
  preview_frame_ = NextPreviewFrame(preview_frame_, frame_count);
  flag_image_->setPixmap(QPixmap::fromImage(ToQImage(flag_preview_bitmap_)));
  flag_image_->repaint();
}

void TOptionsForm::Edit6Change() {
  ClampEdit(kEdit6);
  SizeNodePreview();
}

void TOptionsForm::RadioButtonClick(int number) {
  const Color c = swatches_[number - 1]->BrushColor();
  color_updating_ = true;
  scroll_bars_[0]->setValue(RedOf(c));
  scroll_bars_[1]->setValue(GreenOf(c));
  scroll_bars_[2]->setValue(BlueOf(c));
  color_updating_ = false;
}

void TOptionsForm::ScrollBar1Change() {
  if (color_updating_) return;
  const Color c =
      MakeColor(scroll_bars_[0]->value(), scroll_bars_[1]->value(), scroll_bars_[2]->value());
  for (int i = 0; i < 4; ++i) {
    if (radios_[i]->isChecked()) swatches_[i]->SetBrushColor(c);
  }
}

void TOptionsForm::PageOnChange() {
  ConnectChangeHandlers();
  sheet_shape_->resize(EditValue(kEdit1), EditValue(kEdit2));
  SizeNodePreview();
  for (int i = 0; i < 4; ++i) {
    if (radios_[i]->isChecked()) RadioButtonClick(i + 1);
  }
  color_updating_ = false;
  preview_frame_ = 0;
}

void TOptionsForm::Button1Click() {
  Settings s = settings_;
  s.SheetHorzSize = static_cast<std::uint8_t>(EditValue(kEdit1));
  s.SheetVertSize = static_cast<std::uint8_t>(EditValue(kEdit2));
  s.FlagRadius = static_cast<std::uint16_t>(EditValue(kEdit3));
  s.FlagHorzQuotient = EditValue(kEdit4);
  s.FlagVertQuotient = EditValue(kEdit5);
  s.NodeSize = static_cast<std::uint8_t>(EditValue(kEdit6));
  s.SelectedNodeColor = swatches_[0]->BrushColor();
  s.PreviousNodeColor = swatches_[1]->BrushColor();
  s.NodeColor = swatches_[2]->BrushColor();
  s.LineColor = swatches_[3]->BrushColor();
  s.Equalize = equalize_box_->isChecked() ? 1 : 0;
  stored_ = s;
  stored_renderer_ = rendering_[1]->isChecked() ? Renderer::kSmooth : Renderer::kClassic;
  stored_timing_ = {{kTimingCurves[curve_boxes_[0]->currentIndex()],
                     kTimingCurves[curve_boxes_[1]->currentIndex()]},
                    hold_box_->value()};
  accept();
}

void TOptionsForm::Button2Click() { reject(); }

void TOptionsForm::done(int result) {
  timer_->stop();
  QDialog::done(result);
}

Settings TOptionsForm::Values() const { return stored_; }

bool TOptionsForm::eventFilter(QObject* watched, QEvent* event) {
  auto* edit = qobject_cast<QLineEdit*>(watched);
  if (edit == nullptr || event->type() != QEvent::KeyPress) {
    return QDialog::eventFilter(watched, event);
  }
  auto* key = static_cast<QKeyEvent*>(event);
  // Keys the dialog itself handles (default and cancel buttons, focus).
  switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return false;
    default:
      break;
  }
  // Edit1KeyDown: the delete key never deletes; backspace on a single
  // character leaves "0" (the caret before it, so nothing is left to delete).
  if (key->key() == Qt::Key_Delete) return true;
  if (key->key() == Qt::Key_Backspace) {
    if (auto text = TextAfterBackspaceDown(edit->text().toStdString())) {
      edit->setText(QString::fromStdString(*text));
      edit->setCursorPosition(0);
      return true;
    }
  }
  // Edit1KeyPress: only digits and backspace are typed; keys without a
  // character (arrows, Home, End, the Up and Down steps) pass.
  const QString typed = key->key() == Qt::Key_Backspace ? QString(QChar(8)) : key->text();
  if (typed.isEmpty()) return false;
  if (!KeyPressAllowed(typed.at(0).unicode())) return true;
  if (auto text = TextBeforeKeyPress(edit->text().toStdString())) {
    edit->setText(QString::fromStdString(*text));
    edit->setCursorPosition(0);
    if (key->key() == Qt::Key_Backspace) return true;
  }
  return false;
}

}  // namespace vesk
