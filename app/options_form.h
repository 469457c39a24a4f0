// The Options dialog: edits the settings that have no control on the main
// window (sheet size, flag values, node size, mesh colours, equalize) with
// live previews. Nothing is stored until OK; Values() then answers the edited
// settings, otherwise the settings it was opened with.
#pragma once

#include <QDialog>

#include "core/image/bitmap.h"
#include "core/settings/settings.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollBar;
class QTabWidget;
class QTimer;

namespace vesk {

class TShape;
class TUpDown;

class TOptionsForm : public QDialog {
  Q_OBJECT

 public:
  // The flag preview cycles through settings.FrameCount + 1 pictures (the
  // frame count the main window holds in its frame-count edit).
  TOptionsForm(const Settings& settings, QWidget* parent = nullptr);
  ~TOptionsForm() override;

  // The settings after OK; the unchanged settings after Cancel or close.
  Settings Values() const;

  // Handlers, public so tests can run them as the toolkit would.
  void FormActivate();
  void Edit1Change();
  void Edit5Change();
  void Edit6Change();
  void ScrollBar1Change();
  void RadioButtonClick(int number);  // RadioButton1Click .. RadioButton4Click
  void PageOnChange();
  void Button1Click();
  void Button2Click();

  // Flag preview state: frame counter of the preview and the picture shown.
  int PreviewFrame() const { return preview_frame_; }
  const Bitmap& FlagPreviewBitmap() const { return flag_preview_bitmap_; }

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildSheetPage(QWidget* page);
  void BuildFlagPage(QWidget* page);
  void BuildColorPage(QWidget* page);
  void ConnectChangeHandlers();
  void ClampEdit(QLineEdit* edit);
  int EditValue(QLineEdit* edit) const;
  void PlaceSheetPreview(bool move);
  void SizeNodePreview();

  Settings settings_;
  Settings stored_;
  bool activated_ = false;
  bool connected_ = false;
  bool color_updating_ = false;  // ColorUpdating
  int preview_frame_ = 0;        // PreviewFrame
  Bitmap flag_preview_bitmap_;   // FlagPreviewBitmap

  QTabWidget* page_control_ = nullptr;
  QLineEdit* edits_[6] = {};
  TUpDown* up_downs_[6] = {};
  TShape* sheet_shape_ = nullptr;     // Shape1
  TShape* swatches_[4] = {};          // Shape2 .. Shape5
  TShape* node_shape_ = nullptr;      // Shape6
  QRadioButton* radios_[4] = {};
  QScrollBar* scroll_bars_[3] = {};
  QCheckBox* equalize_box_ = nullptr;  // CheckBox1
  QLabel* flag_image_ = nullptr;       // Image1
  QTimer* timer_ = nullptr;            // Timer1
};

}  // namespace vesk
