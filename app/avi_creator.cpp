#include "app/avi_creator.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

#include "app/design_font.h"
#include "app/dialog_buttons.h"
#include "app/picture_box.h"
#include "app/user_dialogs.h"
#include "app/user_settings.h"
#include "core/animation/animation_viewer.h"
#include "core/animation/avi_writer.h"
#include "core/generate/frame_list.h"
#include "core/image/bmp_codec.h"
#include "video/video_writer.h"

namespace vesk {
namespace {

const QString kTitle = "Trelvanique";
constexpr int kClientWidth = 427;
constexpr int kClientHeight = 273;
constexpr int kPanelHeight = 33;
constexpr int kListWidth = 321;
constexpr int kStatusHeight = 19;

// The buttons of the bar along the top.
QToolButton* MakeToolButton(QWidget* parent, const char* name, const char* hint,
                            QStyle::StandardPixmap icon, int left) {
  return MakeGlyphButton(parent, name, hint, icon, QRect(left, 4, 25, 25));
}

}  // namespace

TAniToolForm::TAniToolForm(UserDialogs& dialogs, const QString& frame_list, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), frame_list_(frame_list) {
  setObjectName("AniToolForm");
  setWindowTitle("VeskTrelvanique Avi Creator");
  setFont(DesignFont());
  resize(kClientWidth, kClientHeight);

  panel_ = new QWidget(this);
  panel_->setObjectName("Panel1");
  panel_->setGeometry(0, 0, kClientWidth, kPanelHeight);
  add_ = MakeToolButton(panel_, "SpeedButton4", "Add bitmap to frame list",
                        QStyle::SP_FileDialogNewFolder, 4);
  remove_ = MakeToolButton(panel_, "SpeedButton3", "Remove bitmap(s) from frame list",
                           QStyle::SP_TrashIcon, 31);
  create_ = MakeToolButton(panel_, "SpeedButton1", "Create AVI file from frame list",
                           QStyle::SP_DialogSaveButton, 58);
  counter_ = new QLabel(panel_);
  counter_->setObjectName("Label1");
  counter_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  counter_->setGeometry(100, 8, 120, 17);
  close_ = MakeCloseButton(panel_, "&Close", QRect(kClientWidth - 84, 4, 80, 25));
  export_video_ = new QPushButton("Export &Video...", panel_);
  export_video_->setObjectName("ExportVideoButton");
  export_video_->setToolTip("Export the frame list as an MP4, WebM or GIF video");
  export_video_->setGeometry(224, 4, 112, 25);

  list_ = new QListWidget(this);
  list_->setObjectName("BitmapListBox");
  list_->setToolTip("This is a frame list");
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setGeometry(0, kPanelHeight, kListWidth, kClientHeight - kPanelHeight - kStatusHeight);

  preview_ = new TPictureBox(TPictureBox::Mode::kStretch, this);
  preview_->setObjectName("BitmapImage");
  preview_->setToolTip("this is a frame");
  preview_->setGeometry(kListWidth, kPanelHeight, kClientWidth - kListWidth,
                        kClientHeight - kPanelHeight - kStatusHeight);

  status_ = new QStatusBar(this);
  status_->setObjectName("StatusBar1");
  status_->setSizeGripEnabled(false);
  status_->setGeometry(0, kClientHeight - kStatusHeight, kClientWidth, kStatusHeight);

  connect(add_, &QToolButton::clicked, this, &TAniToolForm::SpeedButton4Click);
  connect(remove_, &QToolButton::clicked, this, &TAniToolForm::SpeedButton3Click);
  connect(create_, &QToolButton::clicked, this, &TAniToolForm::SpeedButton1Click);
  connect(close_, &QPushButton::clicked, this, &TAniToolForm::reject);
  connect(export_video_, &QPushButton::clicked, this, &TAniToolForm::ExportVideoClick);
  connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
    if (!updating_list_) BitmapListBoxClick();
  });
}

TAniToolForm::~TAniToolForm() = default;

QString TAniToolForm::EntryName(int index) const { return list_->item(index)->text(); }

void TAniToolForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Loaded once: a second activation would add every frame again.
  if (event->spontaneous() || list_loaded_) return;
  list_loaded_ = true;
  FormActivate();
}

void TAniToolForm::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  const int w = width();
  const int h = height();
  const int list_height = std::max(0, h - kPanelHeight - kStatusHeight);
  panel_->setGeometry(0, 0, w, kPanelHeight);
  close_->move(w - 84, close_->y());
  list_->setGeometry(0, kPanelHeight, kListWidth, list_height);
  preview_->setGeometry(kListWidth, kPanelHeight, std::max(0, w - kListWidth), list_height);
  status_->setGeometry(0, h - kStatusHeight, w, kStatusHeight);
}

void TAniToolForm::ReportError(const QString& text) { dialogs_.Error(this, kTitle, text + "."); }

std::optional<QString> TAniToolForm::AskOutputFile(const QString& filter,
                                                   const QString& extension,
                                                   const QString& dialog_suffix) {
  std::optional<QString> chosen =
      dialogs_.SaveFileName(this, QString(), filter, QString(), dialog_suffix);
  if (!chosen) return std::nullopt;
  if (QFileInfo(*chosen).suffix().isEmpty()) *chosen += "." + extension;  // the default one
  repaint();
  return chosen;
}

std::vector<const Bitmap*> TAniToolForm::FramePointers() const {
  std::vector<const Bitmap*> frames;
  frames.reserve(bitmaps_.size());
  for (const Bitmap& bitmap : bitmaps_) frames.push_back(&bitmap);
  return frames;
}

void TAniToolForm::ShowCount(int i, int n) {
  counter_->setText(QString("%1/%2").arg(i).arg(n));
  counter_->repaint();
}

void TAniToolForm::ReportOutcome(const Status& written,
                                 std::initializer_list<std::string_view> notices) {
  if (written.Ok()) return;
  const QString text = QString::fromStdString(written.Message());
  if (std::find(notices.begin(), notices.end(), written.Message()) != notices.end()) {
    dialogs_.Message(this, kTitle, text + ".");
  } else {
    ReportError(text);
  }
}

void TAniToolForm::AppendEntry(const QString& name, Bitmap bitmap) {
  updating_list_ = true;
  list_->addItem(name);
  updating_list_ = false;
  bitmaps_.push_back(std::move(bitmap));
}

void TAniToolForm::FormActivate() {
  if (frame_list_.isEmpty()) return;
  // The list is not emptied first: a call appends the frames.
  Result<std::vector<std::string>> lines = ReadFrameListFile(frame_list_.toStdString());
  if (!lines.Ok()) {
    ReportError(QString::fromStdString(lines.Message()));
    return;
  }
  const std::string folder = QFileInfo(frame_list_).absolutePath().toStdString();
  for (const std::string& name : lines.Value()) {
    Result<Bitmap> bitmap = LoadBmpFile(ResolveFrameName(folder, name));
    if (!bitmap.Ok()) {
      ReportError(QString::fromStdString(name + ": " + bitmap.Message()));
      return;
    }
    AppendEntry(QString::fromStdString(name), std::move(bitmap).Value());
  }
}

void TAniToolForm::SpeedButton4Click() {
  std::optional<QStringList> chosen =
      dialogs_.OpenFileNames(this, "Add Bitmap", "Bitmaps|*.bmp|Icons|*.ico", "bmp");
  if (!chosen) return;
  for (const QString& file : *chosen) {
    // Every file is read as a BMP file, one chosen as an icon too.
    Result<Bitmap> bitmap = LoadBmpFile(file.toStdString());
    if (!bitmap.Ok()) {
      ReportError(QString::fromStdString(bitmap.Message()));
      return;
    }
    AppendEntry(file, std::move(bitmap).Value());
  }
}

void TAniToolForm::SpeedButton3Click() {
  updating_list_ = true;
  for (int i = list_->count() - 1; i >= 0; --i) {
    if (!list_->item(i)->isSelected()) continue;
    delete list_->takeItem(i);
    bitmaps_.erase(bitmaps_.begin() + i);
    status_->clearMessage();
  }
  updating_list_ = false;
}

void TAniToolForm::BitmapListBoxClick() {
  if (list_->selectedItems().size() >= 2) {
    preview_->Clear();
    return;
  }
  const int row = list_->currentRow();
  if (row < 0 || row >= EntryCount()) return;
  preview_->SetBitmap(bitmaps_[static_cast<std::size_t>(row)]);
  status_->showMessage(list_->item(row)->text());
}

void TAniToolForm::SpeedButton1Click() {
  const std::optional<QString> path = AskOutputFile("AVI-Files (*.avi)|*.avi", "avi", "avi");
  if (!path) return;
  const Status written = WriteAviFile(
      FramePointers(), path->toStdString(), [this](int i, int n) { ShowCount(i, n); });
  ReportOutcome(written, {kAviEmptyListMessage});
}

// Like Create: the same counter and messages; the button reads "Cancel"
// while the export runs, and a cancelled or failed export leaves no file.
// After the file, the frame rate and quality are asked, starting from the
// last choice that its format took: a choice refused for the format (lossless
// MP4) is reported and not kept.
void TAniToolForm::ExportVideoClick() {
  if (exporting_) {
    cancel_export_ = true;
    return;
  }
  const std::optional<QString> path = AskOutputFile(
      "MP4 video (*.mp4)|*.mp4|WebM video (*.webm)|*.webm|Animated GIF (*.gif)|*.gif", "mp4",
      QString());  // the dialog adds none: the chosen filter names the format
  if (!path) return;
  const std::optional<VideoOptions> options = dialogs_.AskVideoOptions(this, StoredVideoOptions());
  if (!options) return;
  if (const std::optional<VideoFormat> format = VideoFormatOf(path->toStdString())) {
    const Status possible = CheckVideoOptions(*format, *options);
    if (!possible) {
      ReportOutcome(possible, {});
      return;
    }
  }
  StoreVideoOptions(*options);
  const auto enable_others = [this](bool on) {
    for (QWidget* control : std::initializer_list<QWidget*>{add_, remove_, create_, close_, list_}) {
      control->setEnabled(on);
    }
  };
  exporting_ = true;
  cancel_export_ = false;
  export_video_->setText("Cancel");
  enable_others(false);
  const Status written = WriteVideoFile(
      FramePointers(), path->toStdString(), *options,
      [this](int i, int n) { ShowCount(i, n); },
      [this] {
        QCoreApplication::processEvents();  // the Cancel button
        return cancel_export_;
      });
  enable_others(true);
  export_video_->setText("Export &Video...");
  exporting_ = false;
  ReportOutcome(written, {kVideoEmptyListMessage, kVideoCancelledMessage});
}

}  // namespace vesk
