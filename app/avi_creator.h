// The AVI creator `TAniToolForm`: a list of bitmaps, filled once when the
// dialog first shows from the frame list the viewer plays, to which the user adds
// and from which he removes bitmaps, previews one, and writes them all as
// an uncompressed AVI file with the core's AVI writer.
#pragma once

#include <QDialog>
#include <QString>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

#include "core/common/result.h"
#include "core/image/bitmap.h"

class QLabel;
class QListWidget;
class QPushButton;
class QStatusBar;
class QToolButton;

namespace vesk {

class TPictureBox;
class UserDialogs;

class TAniToolForm : public QDialog {
  Q_OBJECT

 public:
  // `frame_list` is the list the viewer plays (absolute path; frame names
  // relative to its folder); read when the dialog first shows.
  TAniToolForm(UserDialogs& dialogs, const QString& frame_list, QWidget* parent = nullptr);
  ~TAniToolForm() override;

  // The entries: file name and the bitmap loaded from it, in AVI order.
  int EntryCount() const { return static_cast<int>(bitmaps_.size()); }
  const Bitmap& EntryBitmap(int index) const { return bitmaps_[static_cast<std::size_t>(index)]; }
  QString EntryName(int index) const;

  // The handlers, public so a test can run them as the toolkit would.
  void FormActivate();
  void SpeedButton4Click();  // Add
  void SpeedButton3Click();  // Remove
  void SpeedButton1Click();  // Create
  void ExportVideoClick();   // Export Video...: MP4, WebM or GIF
  void BitmapListBoxClick();

 protected:
  void showEvent(QShowEvent* event) override;
  // The list keeps its designed width on the left, the preview fills the
  // rest, the status line stays at the bottom.
  void resizeEvent(QResizeEvent* event) override;

 private:
  void AppendEntry(const QString& name, Bitmap bitmap);
  void ReportError(const QString& text);
  // The file Create or Export writes: asked for (the dialog adding
  // `dialog_suffix`), then `extension` added to a name without one.
  std::optional<QString> AskOutputFile(const QString& filter, const QString& extension,
                                       const QString& dialog_suffix);
  std::vector<const Bitmap*> FramePointers() const;
  void ShowCount(int i, int n);  // the counter "i/n", repainted at once
  // A failure whose message is one of `notices` is a message, any other an error.
  void ReportOutcome(const Status& written, std::initializer_list<std::string_view> notices);

  UserDialogs& dialogs_;
  QString frame_list_;
  std::vector<Bitmap> bitmaps_;  // entry i owns bitmaps_[i]
  bool updating_list_ = false;
  bool list_loaded_ = false;
  bool exporting_ = false;         // a video export runs; the button cancels it
  bool cancel_export_ = false;

  QWidget* panel_ = nullptr;          // Panel1
  QToolButton* add_ = nullptr;        // SpeedButton4
  QToolButton* remove_ = nullptr;     // SpeedButton3
  QToolButton* create_ = nullptr;     // SpeedButton1
  QLabel* counter_ = nullptr;         // Label1
  QPushButton* close_ = nullptr;      // BitBtn1
  QPushButton* export_video_ = nullptr;  // ExportVideoButton
  QListWidget* list_ = nullptr;       // BitmapListBox
  TPictureBox* preview_ = nullptr;    // BitmapImage
  QStatusBar* status_ = nullptr;      // StatusBar1
};

}  // namespace vesk
