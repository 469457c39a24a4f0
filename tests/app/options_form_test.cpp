// The Options dialog driven through its real widgets on the offscreen
// platform: previews, clamping, key filters, colours, OK and Cancel.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "qtimage/image_convert.h"
#include "app/int_edit.h"
#include "app/options_form.h"
#include "core/effects/flag_preview.h"

using namespace vesk;

class OptionsFormTest : public QObject {
  Q_OBJECT

 private:
  template <typename T>
  static T* Child(TOptionsForm& form, const char* name) {
    T* child = form.findChild<T*>(name);
    if (child == nullptr) qFatal("no child %s", name);
    return child;
  }
  static QLineEdit* Edit(TOptionsForm& form, int n) {
    return Child<QLineEdit>(form, QString("Edit%1").arg(n).toLatin1().constData());
  }
  static QRect ShapeRect(TOptionsForm& form, const char* name) {
    return Child<TShape>(form, name)->geometry();
  }
  // Backspace with the caret after the last character.
  static void BackspaceAtEnd(QLineEdit* edit) {
    edit->setFocus();
    edit->end(false);
    QTest::keyClick(edit, Qt::Key_Backspace);
  }
  // Backspace over the whole text selected.
  static void BackspaceOverAll(QLineEdit* edit) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
  }
  // Replaces the whole text by typing, as a user who selected it would.
  static void Retype(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  // Types new values into the six edits, clears Equalize and moves the
  // "Selected Nod:" swatch's ScrollBar2 to 77.
  static void ChangeEveryEditAndTheSelectedNodeColor(TOptionsForm& form) {
    Retype(Edit(form, 1), "50");
    Retype(Edit(form, 2), "60");
    Retype(Edit(form, 3), "4");
    Retype(Edit(form, 4), "5");
    Retype(Edit(form, 5), "6");
    Retype(Edit(form, 6), "9");
    Child<QCheckBox>(form, "CheckBox1")->setChecked(false);
    Child<QScrollBar>(form, "ScrollBar2")->setValue(77);
  }

 private slots:
  void CaptionPagesAndButtons() {
    TOptionsForm form{Settings{}};
    form.show();
    QCOMPARE(form.windowTitle(), QString("Options"));
    QCOMPARE(form.size(), QSize(320, 183));
    auto* pages = Child<QTabWidget>(form, "PageControl1");
    QCOMPARE(pages->count(), 3);
    QCOMPARE(pages->tabText(0), QString("Sheet Glass"));
    QCOMPARE(pages->tabText(1), QString("Flag Streaming"));
    QCOMPARE(pages->tabText(2), QString("Costumize"));
    QCOMPARE(pages->currentIndex(), 0);
    QCOMPARE(Child<QPushButton>(form, "Button1")->text(), QString("&OK"));
    QVERIFY(Child<QPushButton>(form, "Button1")->isDefault());
    QCOMPARE(Child<QPushButton>(form, "Button2")->text(), QString("&Cancel"));
    QCOMPARE(Child<QCheckBox>(form, "CheckBox1")->toolTip(), QString("Equalize Pictures"));
    QCOMPARE(Child<QRadioButton>(form, "RadioButton1")->text(), QString("Selected Nod:"));
    QCOMPARE(Child<QRadioButton>(form, "RadioButton4")->text(), QString("Line:"));
    QVERIFY(Child<QRadioButton>(form, "RadioButton1")->isChecked());
    QCOMPARE(Child<QLabel>(form, "Image1")->size(), QSize(105, 89));
  }

  void OpensCentredOnTheScreenNotOverItsOwner() {
    QWidget owner;
    owner.setGeometry(0, 0, 120, 90);
    owner.show();
    TOptionsForm form(Settings{}, &owner);
    form.show();
    const QPoint screen_centre = form.screen()->availableGeometry().center();
    QVERIFY2((form.frameGeometry().center() - screen_centre).manhattanLength() <= 2,
             qPrintable(QString("centre %1,%2")
                            .arg(form.frameGeometry().center().x())
                            .arg(form.frameGeometry().center().y())));
  }

  void ActivationFillsEveryControlFromTheSettings() {
    Settings s;
    s.SheetHorzSize = 20;
    s.SheetVertSize = 30;
    s.FlagRadius = 7;
    s.FlagHorzQuotient = 2;
    s.FlagVertQuotient = 9;
    s.NodeSize = 4;
    s.Equalize = 0;
    s.SelectedNodeColor = MakeColor(1, 2, 3);
    TOptionsForm form(s);
    form.show();
    QCOMPARE(Edit(form, 1)->text(), QString("20"));
    QCOMPARE(Edit(form, 2)->text(), QString("30"));
    QCOMPARE(Edit(form, 3)->text(), QString("7"));
    QCOMPARE(Edit(form, 4)->text(), QString("2"));
    QCOMPARE(Edit(form, 5)->text(), QString("9"));
    QCOMPARE(Edit(form, 6)->text(), QString("4"));
    QVERIFY(!Child<QCheckBox>(form, "CheckBox1")->isChecked());
    QCOMPARE(Child<TShape>(form, "Shape2")->BrushColor(), MakeColor(1, 2, 3));
    QCOMPARE(Child<TShape>(form, "Shape6")->size(), QSize(8, 8));
    // The checked radio button loaded the scroll bars from its swatch.
    QCOMPARE(Child<QScrollBar>(form, "ScrollBar1")->value(), 1);
    QCOMPARE(Child<QScrollBar>(form, "ScrollBar2")->value(), 2);
    QCOMPARE(Child<QScrollBar>(form, "ScrollBar3")->value(), 3);
  }

  void SheetPreviewIsCentredOn218And58() {
    TOptionsForm form{Settings{}};
    form.show();
    QCOMPARE(ShapeRect(form, "Shape1"), QRect(200, 40, 36, 36));
    Retype(Edit(form, 1), "25");
    Retype(Edit(form, 2), "25");
    QCOMPARE(ShapeRect(form, "Shape1"), QRect(206, 46, 25, 25));
    Retype(Edit(form, 1), "0");
    Retype(Edit(form, 2), "0");
    QCOMPARE(ShapeRect(form, "Shape1").topLeft(), QPoint(218, 58));
    QVERIFY(ShapeRect(form, "Shape1").isEmpty());
    Retype(Edit(form, 1), "7");
    QCOMPARE(ShapeRect(form, "Shape1"), QRect(215, 58, 7, 0));
  }

  void Typing150Leaves100() {
    TOptionsForm form{Settings{}};
    form.show();
    Retype(Edit(form, 1), "150");
    QCOMPARE(Edit(form, 1)->text(), QString("100"));
    QCOMPARE(ShapeRect(form, "Shape1"), QRect(168, 40, 100, 36));
    Retype(Edit(form, 3), "16");
    QCOMPARE(Edit(form, 3)->text(), QString("15"));
    Retype(Edit(form, 6), "13");
    QCOMPARE(Edit(form, 6)->text(), QString("12"));
    QCOMPARE(Child<TShape>(form, "Shape6")->size(), QSize(24, 24));
  }

  void BackspaceOnOneDigitLeavesZeroOrTheMinimum() {
    Settings s;
    s.SheetHorzSize = 7;
    s.FlagRadius = 7;
    TOptionsForm form(s);
    form.show();
    BackspaceAtEnd(Edit(form, 1));
    QCOMPARE(Edit(form, 1)->text(), QString("0"));
    QTest::keyClick(Edit(form, 1), Qt::Key_Backspace);
    QCOMPARE(Edit(form, 1)->text(), QString("0"));
    BackspaceAtEnd(Edit(form, 3));
    QCOMPARE(Edit(form, 3)->text(), QString("1"));
  }

  void BackspaceOnLongerTextDeletesOneDigit() {
    TOptionsForm form{Settings{}};
    form.show();
    BackspaceAtEnd(Edit(form, 1));
    QCOMPARE(Edit(form, 1)->text(), QString("3"));
  }

  void EmptyingThroughASelectionLeavesTheMinimum() {
    TOptionsForm form{Settings{}};
    form.show();
    BackspaceOverAll(Edit(form, 3));
    QCOMPARE(Edit(form, 3)->text(), QString("1"));
    BackspaceOverAll(Edit(form, 2));
    QCOMPARE(Edit(form, 2)->text(), QString("0"));
  }

  void LettersColonAndDeleteChangeNothing() {
    TOptionsForm form{Settings{}};
    form.show();
    for (int n = 1; n <= 6; ++n) {
      QLineEdit* edit = Edit(form, n);
      const QString before = edit->text();
      edit->setFocus();
      edit->home(false);
      QTest::keyClicks(edit, "a:Z -.");
      QTest::keyClick(edit, Qt::Key_Delete);
      QCOMPARE(edit->text(), before);
    }
  }

  void UpDownStepsWithinTheRange() {
    Settings s;
    s.SheetVertSize = 99;
    TOptionsForm form(s);
    form.show();
    auto* up_down = Child<TUpDown>(form, "UpDown2");
    QCOMPARE(up_down->Min(), 0);
    QCOMPARE(up_down->Max(), 100);
    QTest::mouseClick(up_down->UpButton(), Qt::LeftButton);
    QCOMPARE(Edit(form, 2)->text(), QString("100"));
    QTest::mouseClick(up_down->UpButton(), Qt::LeftButton);
    QCOMPARE(Edit(form, 2)->text(), QString("100"));
    QCOMPARE(ShapeRect(form, "Shape1"), QRect(200, 8, 36, 100));
    QCOMPARE(Child<TUpDown>(form, "UpDown3")->Min(), 1);
    QCOMPARE(Child<TUpDown>(form, "UpDown3")->Max(), 15);
    QCOMPARE(Child<TUpDown>(form, "UpDown4")->Max(), 10);
    QCOMPARE(Child<TUpDown>(form, "UpDown5")->Max(), 10);
    QCOMPARE(Child<TUpDown>(form, "UpDown6")->Min(), 1);
    QCOMPARE(Child<TUpDown>(form, "UpDown6")->Max(), 12);
  }

  void LineMovesTheScrollBarsAndScrollBar1ChangesOnlyShape5() {
    TOptionsForm form{Settings{}};
    form.show();
    Child<QTabWidget>(form, "PageControl1")->setCurrentIndex(2);
    QTest::mouseClick(Child<QRadioButton>(form, "RadioButton4"), Qt::LeftButton);
    QVERIFY(Child<QRadioButton>(form, "RadioButton4")->isChecked());
    QCOMPARE(Child<QScrollBar>(form, "ScrollBar1")->value(), 0);
    QCOMPARE(Child<QScrollBar>(form, "ScrollBar2")->value(), 0);
    QCOMPARE(Child<QScrollBar>(form, "ScrollBar3")->value(), 255);
    Child<QScrollBar>(form, "ScrollBar1")->setValue(100);
    QCOMPARE(Child<TShape>(form, "Shape5")->BrushColor(), MakeColor(100, 0, 255));
    QCOMPARE(Child<TShape>(form, "Shape2")->BrushColor(), MakeColor(255, 0, 0));
    QCOMPARE(Child<TShape>(form, "Shape3")->BrushColor(), MakeColor(0, 128, 0));
    QCOMPARE(Child<TShape>(form, "Shape4")->BrushColor(), MakeColor(200, 200, 200));
    // Selecting another swatch loads its colour without changing any swatch.
    QTest::mouseClick(Child<QRadioButton>(form, "RadioButton3"), Qt::LeftButton);
    QCOMPARE(Child<QScrollBar>(form, "ScrollBar1")->value(), 200);
    QCOMPARE(Child<QScrollBar>(form, "ScrollBar2")->value(), 200);
    QCOMPARE(Child<TShape>(form, "Shape5")->BrushColor(), MakeColor(100, 0, 255));
    QCOMPARE(Child<TShape>(form, "Shape4")->BrushColor(), MakeColor(200, 200, 200));
  }

  void CancelLeavesEverySetting() {
    Settings s;
    TOptionsForm form(s);
    form.show();
    ChangeEveryEditAndTheSelectedNodeColor(form);
    QTest::mouseClick(Child<QPushButton>(form, "Button2"), Qt::LeftButton);
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QVERIFY(form.Values() == s);
    QVERIFY(!Child<QTimer>(form, "Timer1")->isActive());
  }

  void EscapeAndTitleBarCloseAreCancel() {
    Settings s;
    TOptionsForm form(s);
    form.show();
    Retype(Edit(form, 1), "50");
    QTest::keyClick(Edit(form, 1), Qt::Key_Escape);
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QVERIFY(form.Values() == s);
    TOptionsForm second(s);
    second.show();
    Retype(Edit(second, 1), "50");
    second.close();
    QVERIFY(second.Values() == s);
  }

  void OkStoresEveryValue() {
    Settings s;
    s.FrameCount = 30;
    s.Precision = 9;
    TOptionsForm form(s);
    form.show();
    ChangeEveryEditAndTheSelectedNodeColor(form);
    QTest::mouseClick(Child<QRadioButton>(form, "RadioButton2"), Qt::LeftButton);
    Child<QScrollBar>(form, "ScrollBar3")->setValue(1);
    QTest::mouseClick(Child<QRadioButton>(form, "RadioButton3"), Qt::LeftButton);
    Child<QScrollBar>(form, "ScrollBar1")->setValue(2);
    QTest::mouseClick(Child<QRadioButton>(form, "RadioButton4"), Qt::LeftButton);
    Child<QScrollBar>(form, "ScrollBar2")->setValue(3);
    QTest::keyClick(Edit(form, 6), Qt::Key_Return);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    Settings v = form.Values();
    QCOMPARE(int(v.SheetHorzSize), 50);
    QCOMPARE(int(v.SheetVertSize), 60);
    QCOMPARE(int(v.FlagRadius), 4);
    QCOMPARE(v.FlagHorzQuotient, 5);
    QCOMPARE(v.FlagVertQuotient, 6);
    QCOMPARE(int(v.NodeSize), 9);
    QCOMPARE(int(v.Equalize), 0);
    QCOMPARE(v.SelectedNodeColor, MakeColor(255, 77, 0));
    QCOMPARE(v.PreviousNodeColor, MakeColor(0, 128, 1));
    QCOMPARE(v.NodeColor, MakeColor(2, 200, 200));
    QCOMPARE(v.LineColor, MakeColor(0, 3, 255));
    QCOMPARE(int(v.FrameCount), 30);
    QCOMPARE(int(v.Precision), 9);
  }

  void OutOfRangeSettingsAreShownClamped() {
    Settings s;
    s.SheetHorzSize = 200;  // possible only through the settings file
    s.NodeSize = 0;
    TOptionsForm form(s);
    form.show();
    QCOMPARE(Edit(form, 1)->text(), QString("100"));
    QCOMPARE(Edit(form, 6)->text(), QString("1"));
  }

  void FlagPreviewCyclesThroughFrameCountPlusOnePictures() {
    Settings s;  // FrameCount 12, radius 10, quotients 3
    TOptionsForm form(s);
    form.show();
    auto* timer = Child<QTimer>(form, "Timer1");
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 300);
    QCOMPARE(form.PreviewFrame(), 0);
    QList<int> phases;
    for (int k = 0; k < 13; ++k) {
      const int phase = FlagPreviewPhase(form.PreviewFrame(), 12);
      phases << phase;
      form.Edit5Change();  // what every tick runs
      Bitmap expected(kFlagPreviewWidth, kFlagPreviewHeight);
      PaintFlagPreview(expected, 10, 3, 3, phase);
      QVERIFY(form.FlagPreviewBitmap() == expected);
      QImage shown = Child<QLabel>(form, "Image1")->pixmap().toImage();
      QVERIFY(FromQImage(shown) == expected);
    }
    QCOMPARE(phases.first(), 0);
    QCOMPARE(phases.last(), 628);
    QCOMPARE(form.PreviewFrame(), 0);
  }

  void TimerTicksAdvanceThePreview() {
    TOptionsForm form{Settings{}};
    form.show();
    QCOMPARE(form.PreviewFrame(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(form.PreviewFrame(), 2, 2000);
  }

  void PageChangeRestartsThePreviewAndReloadsTheScrollBars() {
    TOptionsForm form{Settings{}};
    form.show();
    form.Edit5Change();
    QCOMPARE(form.PreviewFrame(), 1);
    Child<QTabWidget>(form, "PageControl1")->setCurrentIndex(1);
    QCOMPARE(form.PreviewFrame(), 0);
    QCOMPARE(Child<QScrollBar>(form, "ScrollBar1")->value(), 255);
  }

  void RadiusChangeRedrawsThePreview() {
    TOptionsForm form{Settings{}};
    form.show();
    Child<QTabWidget>(form, "PageControl1")->setCurrentIndex(1);
    Retype(Edit(form, 3), "15");
    Bitmap expected(kFlagPreviewWidth, kFlagPreviewHeight);
    PaintFlagPreview(expected, 15, 3, 3, FlagPreviewPhase(form.PreviewFrame() - 1, 12));
    QVERIFY(form.FlagPreviewBitmap() == expected);
  }
};

QTEST_MAIN(OptionsFormTest)
#include "options_form_test.moc"
