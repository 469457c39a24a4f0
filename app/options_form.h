// The Options dialog: edits the settings that have no control on the main
// window (sheet size, flag values, node size, mesh colours, equalize) with
// live previews, and, on pages of our own, the renderer and the timing of the
// morph and the distortion. Nothing is stored until OK; Values(), Rendering()
// and Timing() then answer the edited choices, otherwise those it was opened
// with.
#pragma once

#include <QDialog>
#include <QWidget>

#include "app/user_settings.h"
#include "core/generate/generation_input.h"
#include "core/image/bitmap.h"
#include "core/settings/settings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSpinBox;
class QTabWidget;
class QTimer;

namespace vesk {

class TUpDown;

// A shape control: a rectangle filled with its brush colour and outlined by
// a one-pixel black pen. A shape of width or height 0 shows nothing.
class TShape : public QWidget {
  Q_OBJECT

 public:
  explicit TShape(QWidget* parent = nullptr, Color brush = kWhite);

  Color BrushColor() const { return brush_; }
  void SetBrushColor(Color color);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Color brush_;
};

class TOptionsForm : public QDialog {
  Q_OBJECT

 public:
  // The flag preview cycles through settings.FrameCount + 1 pictures: the
  // frame count the main window holds in its frame-count edit.
  TOptionsForm(const Settings& settings, QWidget* parent = nullptr,
               Renderer renderer = Renderer::kClassic, const RunTiming& timing = {});
  ~TOptionsForm() override;

  // The settings after OK; the unchanged settings after Cancel or close.
  // FrameCount and Precision are always passed through unchanged.
  Settings Values() const;
  Renderer Rendering() const { return stored_renderer_; }
  RunTiming Timing() const { return stored_timing_; }

  // The handlers, public so a test can run them as the toolkit would.
  void FormActivate();
  void Edit1Change();
  void Edit5Change();
  void Edit6Change();
  void ScrollBar1Change();
  void RadioButtonClick(int number);  // RadioButton1Click .. RadioButton4Click
  void PageOnChange();
  void Button1Click();
  void Button2Click();

  // Flag preview state: the next picture's number and the last picture.
  int PreviewFrame() const { return preview_frame_; }
  const Bitmap& FlagPreviewBitmap() const { return flag_preview_bitmap_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildSheetPage(QWidget* page);
  void BuildFlagPage(QWidget* page);
  void BuildColorPage(QWidget* page);
  void BuildRenderingPage(QWidget* page);
  void BuildTimingPage(QWidget* page);
  QLineEdit* MakeEdit(int index, QWidget* parent, int left, int top, int min, int max);
  void ConnectChangeHandlers();
  void ClampEdit(int index);
  int EditValue(int index) const;
  void SizeNodePreview();
  void LayOut();

  Settings settings_;
  Settings stored_;
  Renderer renderer_;
  Renderer stored_renderer_;
  RunTiming timing_;
  RunTiming stored_timing_;
  bool connected_ = false;
  bool color_updating_ = false;  // ColorUpdating
  int preview_frame_ = 0;        // PreviewFrame
  Bitmap flag_preview_bitmap_;   // FlagPreviewBitmap

  QTabWidget* page_control_ = nullptr;  // PageControl1
  QLineEdit* edits_[6] = {};            // Edit1 .. Edit6
  TUpDown* up_downs_[6] = {};           // UpDown1 .. UpDown6
  int min_[6] = {};
  int max_[6] = {};
  TShape* sheet_shape_ = nullptr;       // Shape1
  TShape* swatches_[4] = {};            // Shape2 .. Shape5
  TShape* node_shape_ = nullptr;        // Shape6
  QRadioButton* radios_[4] = {};        // RadioButton1 .. RadioButton4
  QScrollBar* scroll_bars_[3] = {};     // ScrollBar1 .. ScrollBar3
  QCheckBox* equalize_box_ = nullptr;   // CheckBox1
  QRadioButton* rendering_[2] = {};     // RenderingClassic, RenderingSmooth
  QComboBox* curve_boxes_[2] = {};      // ShapeCurveBox, ColourCurveBox
  QSpinBox* hold_box_ = nullptr;        // HoldBox
  QLabel* flag_image_ = nullptr;        // Image1
  QPushButton* ok_button_ = nullptr;    // Button1
  QPushButton* cancel_button_ = nullptr;  // Button2
  QTimer* timer_ = nullptr;             // Timer1
};

}  // namespace vesk
