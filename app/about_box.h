// The About box: program picture, product name, version and two contact
// lines. A click on either contact line roughens the picture.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QImage>

#include "core/image/bitmap.h"

class QLabel;
class QPushButton;
class QFrame;

namespace vesk {

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  // The picture as currently shown by ProgramIcon.
  const Bitmap& Picture() const { return picture_; }

  // The click handler of the contact labels `Comments` and `Label1`.
  void RoughenClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void ShowPicture();

  Bitmap picture_;
  QFrame* panel_ = nullptr;
  QLabel* program_icon_ = nullptr;  // ProgramIcon
  QLabel* comments_ = nullptr;      // Comments
  QLabel* label1_ = nullptr;        // Label1
  QPushButton* ok_button_ = nullptr;  // OKButton
};

// The program's picture, drawn by code (also the About box's start picture).
Bitmap ProgramPicture();
// Its mesh without the background, which is transparent: the program's
// icon, 64 x 64 pixels.
QImage ProgramIconImage();
// That icon as the windows' icon.
QIcon ProgramIcon();

}  // namespace vesk
