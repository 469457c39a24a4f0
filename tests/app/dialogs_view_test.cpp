// What the dialogs show as they are used, step by step: the progress window
// through a run, the Options dialog's previews, the animation viewer's
// buttons and timer, and the AVI creator's list, counter and layout.
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>

#include "app/animation_viewer.h"
#include "app/avi_creator.h"
#include "app/kancel_form.h"
#include "app/options_form.h"
#include "app/picture_box.h"
#include "app1_support.h"
#include "qtimage/image_convert.h"
#include "support/view_checks.h"

namespace {

struct Step {
  const char* name;
  std::function<void()> act;
  QString seen;
};

// Runs the steps in order; after each, `seen` must answer the step's row.
void RunSteps(std::initializer_list<Step> steps, const std::function<QString()>& seen) {
  for (const Step& step : steps) {
    step.act();
    const QString now = seen();
    QVERIFY2(now == step.seen, qPrintable(QString(step.name) + ": " + now));
  }
}

void Type(QWidget& form, const char* edit, const QString& text) {
  NamedChild<QLineEdit>(form, edit)->selectAll();
  QTest::keyClicks(NamedChild<QLineEdit>(form, edit), text);
}

void Click(QWidget& form, const char* name) {
  QTest::mouseClick(NamedChild<QAbstractButton>(form, name), Qt::LeftButton);
}

}  // namespace

class DialogsViewTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  QString Frames(int count, int width = 16, int height = 12) {
    return WriteFrameList(dir_, count, [=](int k) { return Bitmap(width, height, MakeColor(k, 9, 9)); });
  }

 private slots:
  void ProgressWindowThroughARun() {
    TKancelForm form;
    const QStringList rows = {
        "KancelForm 194x90 10px \"Process\" hidden", "ProgressBar1 7,7 182x13 0..100=0 notext",
        "Label1 17,26 100x14 right", "ProgressBar2 7,46 182x13 0..100=0 notext",
        "KancelButton 46,65 104x20 \"&Kancel\" [Do you want to Kancel ?] default",
    };
    QCOMPARE(Seen(form, rows), rows);
    QCOMPARE(form.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
             Qt::WindowStaysOnTopHint);  // no close box, above the other windows
    QWidget main_window;
    main_window.show();
    QStringList calls;  // of the show, write and columns hooks
    const Bitmap picture(8, 4, kWhite);
    const auto write = [&](const Bitmap&) { calls << "write"; return Status::Success(); };
    KancelRun run(form, main_window, [&](const Bitmap&) { calls << "show"; }, write);
    run.SetColumnsHook([&](const Bitmap&, int from, int to) { calls << QString("%1-%2").arg(from).arg(to); });
    const auto messages = [&] { ResetMessageClock(); run.ProcessMessages(); };
    RunSteps(
        {
            // caption, shown, enabled; bars and counter | main window, KancelFlag, hooks called
            {"begin", [&] { form.ProgressBar1()->setValue(6); KancelFlag = 1; run.Begin(); },
             "Process shown on 0 '' 0 | main off, flag 0"},
            {"frame 3 of 12", [&] { run.Counter(3, 12); }, "Process shown on 0 '3/12' 25 | main off, flag 0"},
            {"inner bar", [&] { run.InnerBar(40); }, "Process shown on 40 '3/12' 25 | main off, flag 0"},
            {"equalization", [&] { run.EqualizationBegin(); },
             "Equalization shown off 40 '3/12' 25 | main off, flag 0"},
            {"equalized", [&] { run.EqualizationEnd(); }, "Process shown on 40 '3/12' 25 | main off, flag 0"},
            {"columns", [&] { run.ColumnsPainted(picture, 2, 5); run.ColumnsPainted(picture, 1, 3); messages(); },
             "Process shown on 40 '3/12' 25 | main off, flag 0 1-5"},
            {"frame shown, written", [&] { run.ShowFrame(picture); messages(); run.WriteFrame(picture); },
             "Process shown on 40 '3/12' 25 | main off, flag 0 show write"},
            {"Kancel clicked", [&] { QTest::mouseClick(form.KancelButton(), Qt::LeftButton); },
             "Process hidden on 40 '3/12' 25 | main off, flag 1"},
            {"end", [&] { run.End(); }, "Process hidden on 40 '3/12' 25 | main on, flag 1"},
            {"begin, Escape", [&] { run.Begin(); QTest::keyClick(&form, Qt::Key_Escape); },
             "Process shown on 0 '' 0 | main off, flag 0"},
            {"Enter presses Kancel", [&] { QTest::keyClick(&form, Qt::Key_Return); },
             "Process hidden on 0 '' 0 | main off, flag 1"},
            {"a run to its end", [&] { run.Begin(); run.End(); }, "Process hidden on 0 '' 0 | main on, flag 0"},
        },
        [&] {
          const QString seen = QString("%1 %2 %3 %4 '%5' %6 | main %7, flag %8")
                                   .arg(form.windowTitle(), form.isVisible() ? "shown" : "hidden",
                                        form.isEnabled() ? "on" : "off")
                                   .arg(form.ProgressBar1()->value()).arg(form.Label1()->text())
                                   .arg(form.ProgressBar2()->value()).arg(main_window.isEnabled() ? "on" : "off")
                                   .arg(KancelFlag);
          return (QStringList{seen} + std::exchange(calls, {})).join(' ');
        });
    QCOMPARE(run.FramesShown(), 1);
    QVERIFY(Seen(form, "KancelForm 0x0").contains("centred"));  // where Begin showed it
  }
  void OptionsPreviewsFollowTheControls() {
    TOptionsForm form{Settings{}};
    form.show();
    const QStringList rows = {
        "OptionsForm 320x183 10px centred \"Options\"", "PageControl1 0,0 320x150",
        "GroupBox1 4,2 306x114 \"Sheet Size\"", "\"Horizontal Size: \" 10,30 auto",
        "Edit1 96,26 34x21 \"36\"", "UpDown1 130,26 15x21 0..100", "\"Vertical Size:\" 10,66 auto",
        "Edit2 96,62 34x21 \"36\"", "UpDown2 130,62 15x21 0..100", "Shape1 200,40 36x36 #ffffff",
        "GroupBox2 4,2 306x114", "\"Flag Radius:\" 8,18 auto", "Edit3 128,14 34x21 \"10\"",
        "UpDown3 162,14 15x21 1..15", "\"Horizontal Quotient:\" 8,50 auto", "Edit4 128,46 34x21 \"3\"",
        "UpDown4 162,46 15x21 0..10", "\"Vertical Quotient:\" 8,82 auto", "Edit5 128,78 34x21 \"3\"",
        "UpDown5 162,78 15x21 0..10", "Image1 192,14 auto picture", "GroupBox3 4,2 220x114 \"Colors\"",
        "RadioButton1 8,18 auto \"Selected Nod:\" down", "Shape2 134,19 22x16 #ff0000",
        "RadioButton2 8,42 auto \"Previous Nod:\" up", "Shape3 134,43 22x16 #008000",
        "RadioButton3 8,66 auto \"Not Selected Nod:\" up", "Shape4 134,67 22x16 #c8c8c8",
        "RadioButton4 8,90 auto \"Line:\" up", "Shape5 134,91 22x16 #0000ff",
        "ScrollBar1 162,16 16x92 0..255=255", "ScrollBar2 180,16 16x92 0..255=0",
        "ScrollBar3 198,16 16x92 0..255=0", "\"Node Size:\" 232,12 auto", "Edit6 232,30 34x21 \"5\"",
        "UpDown6 266,30 15x21 1..12", "Shape6 288,30 10x10 #ffffff",
        "CheckBox1 232,92 auto \"Equalize\" [Equalize Pictures] down",
        "Button1 156,154 75x25 \"&OK\" default", "Button2 240,154 75x25 \"&Cancel\"",
    };
    QCOMPARE(Seen(form, rows), rows);
    auto* pages = NamedChild<QTabWidget>(form, "PageControl1");
    QCOMPARE(QStringList({pages->tabText(0), pages->tabText(1), pages->tabText(2)}),
             QStringList({"Sheet Glass", "Flag Streaming", "Costumize"}));
    QCOMPARE(pages->currentIndex(), 0);
    // A swatch is its colour inside a black outline.
    const QImage swatch = NamedChild<QWidget>(form, "Shape3")->grab().toImage();
    QCOMPARE(QList<QRgb>({swatch.pixel(0, 0), swatch.pixel(1, 1), swatch.pixel(21, 15)}),
             QList<QRgb>({qRgb(0, 0, 0), qRgb(0, 128, 0), qRgb(0, 0, 0)}));
    auto* timer = NamedChild<QTimer>(form, "Timer1");
    QVERIFY(timer->isActive() && timer->interval() == 300);
    timer->stop();  // it ticks when a step asks
    auto* flag = NamedChild<QLabel>(form, "Image1");
    PaintCounter flag_paints(flag), line_paints(NamedChild<QWidget>(form, "Shape5"));
    RunSteps(
        {
            // Shape1, Shape6 | bars, the line's swatch, painted | flag preview picture, painted at once
            {"sheet width", [&] { Type(form, "Edit1", "50"); }, "193,40 50x36 10x10 | 255,0,0 #0000ff no | 0 no"},
            {"sheet height", [&] { Type(form, "Edit2", "25"); }, "193,46 50x25 10x10 | 255,0,0 #0000ff no | 0 no"},
            {"node size", [&] { Type(form, "Edit6", "9"); }, "193,46 50x25 18x18 | 255,0,0 #0000ff no | 0 no"},
            {"flag radius", [&] { pages->setCurrentIndex(1); Type(form, "Edit3", "4"); },
             "193,46 50x25 18x18 | 255,0,0 #0000ff no | 1 yes"},
            {"a tick", [&] { QMetaObject::invokeMethod(timer, "timeout"); },
             "193,46 50x25 18x18 | 255,0,0 #0000ff no | 2 yes"},
            {"Line: chosen", [&] { pages->setCurrentIndex(2); Click(form, "RadioButton4"); },
             "193,46 50x25 18x18 | 0,0,255 #0000ff yes | 0 no"},
            {"its green", [&] { NamedChild<QScrollBar>(form, "ScrollBar2")->setValue(77); },
             "193,46 50x25 18x18 | 0,77,255 #004dff yes | 0 no"},
            {"another page", [&] { pages->setCurrentIndex(1); Type(form, "Edit4", "2"); pages->setCurrentIndex(0); },
             "193,46 50x25 18x18 | 0,77,255 #004dff no | 0 yes"},
        },
        [&] {
          const int painted_at_once = std::exchange(flag_paints.count, 0);
          QCoreApplication::processEvents();  // the updates asked for are painted
          const bool shown = flag->pixmap().toImage() == ToQImage(form.FlagPreviewBitmap());
          auto* shape1 = NamedChild<QWidget>(form, "Shape1");
          return QString("%1,%2 %3x%4 %5x%5 | ")
                     .arg(shape1->x()).arg(shape1->y()).arg(shape1->width()).arg(shape1->height())
                     .arg(NamedChild<QWidget>(form, "Shape6")->width()) +
                 QString("%1,%2,%3 ").arg(NamedChild<QScrollBar>(form, "ScrollBar1")->value())
                     .arg(NamedChild<QScrollBar>(form, "ScrollBar2")->value())
                     .arg(NamedChild<QScrollBar>(form, "ScrollBar3")->value()) +
                 Seen(form, "Shape5").section(' ', 1) + (std::exchange(line_paints.count, 0) ? " yes" : " no") +
                 QString(" | %1 %2").arg(shown ? form.PreviewFrame() : -1).arg(painted_at_once ? "yes" : "no");
        });
  }
  void ViewerButtonsTimerAndFrames() {
    ScriptedDialogs dialogs;
    TAnimaci viewer(dialogs, Frames(4));
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    const QStringList rows = {
        "Animaci 181x238 10px centred \"Animation viewer\"", "Label2 8,4 60x14 \"Speed:\"",
        "Label1 100,4 73x14 \"1/1\" right", "TrackBar1 4,18 173x22 [Replay speed] 1..15=12",
        "TrackBar2 4,40 173x22 [Frame number] 1..4=1", "SpeedButton1 8,64 25x25 [Play] icon down",
        "SpeedButton3 33,64 25x25 [Pause] icon up", "SpeedButton2 58,64 25x25 [Play next frame] icon up",
        "BitBtn2 89,64 62x25 \"Create &Avi\" [Create AVI file from this animation]",
        "BitBtn1 153,64 25x25 [Close this dialog box] icon", "CheckBox1 8,88 auto \"Back && Forth\" up",
        "Image1 1,104 16x12 [This is a animation !!!]",
    };
    QCOMPARE(Seen(viewer, rows), rows);
    auto* timer = NamedChild<QTimer>(viewer, "Timer1");
    auto* image = NamedChild<TPictureBox>(viewer, "Image1");
    PaintCounter paints(image);
    const auto click = [&](const char* name) { Click(viewer, name); };
    RunSteps(
        {
            // counter, slider | Play Pause Next | timer | frame shown, painted at once
            {"a tick", [&] { QMetaObject::invokeMethod(timer, "timeout"); }, "2/4 2 | down up up | 100 on | 2 yes"},
            {"pause", [&] { click("SpeedButton3"); }, "2/4 2 | up down up | 100 off | 2 no"},
            {"pause again plays", [&] { click("SpeedButton3"); }, "2/4 2 | down up up | 100 on | 2 no"},
            {"next frame", [&] { click("SpeedButton2"); }, "3/4 3 | up up up | 100 off | 3 yes"},
            {"back and forth", [&] { click("CheckBox1"); click("SpeedButton2"); }, "2/4 2 | up up up | 100 off | 2 yes"},
            {"slider dragged", [&] { NamedChild<QSlider>(viewer, "TrackBar2")->setValue(4); click("SpeedButton2"); },
             "3/4 3 | up up up | 100 off | 3 yes"},
            {"slowest, play", [&] { NamedChild<QSlider>(viewer, "TrackBar1")->setValue(1); click("SpeedButton1"); },
             "3/4 3 | down up up | 1400 on | 3 no"},
            {"Create Avi, closed",
             [&] {
               WhenModalOpens([](QWidget* creator) {
                 QCOMPARE(qobject_cast<TAniToolForm*>(creator)->EntryCount(), 4);
                 Click(*creator, "BitBtn1");
               });
               click("BitBtn2");
             },
             "3/4 3 | down up up | 1400 on | 1 yes"},
            {"close", [&] { click("BitBtn1"); }, "3/4 3 | down up up | 1400 off | 0 no"},
        },
        [&] {
          const bool at_once = std::exchange(paints.count, 0);
          const int shown = image->Empty() ? 0 : qRed(image->grab().toImage().pixel(0, 0));
          paints.count = 0;
          QStringList buttons;
          for (const char* b : {"SpeedButton1", "SpeedButton3", "SpeedButton2"}) {
            buttons << (NamedChild<QAbstractButton>(viewer, b)->isChecked() ? "down" : "up");
          }
          return QString("%1 %2 | %3 | %4 %5 | %6 %7")
              .arg(NamedChild<QLabel>(viewer, "Label1")->text())
              .arg(NamedChild<QSlider>(viewer, "TrackBar2")->value())
              .arg(buttons.join(' ')).arg(timer->interval()).arg(timer->isActive() ? "on" : "off")
              .arg(shown).arg(at_once ? "yes" : "no");  // frame k is red k
        });
    QVERIFY(!viewer.isVisible() && image->Empty());
    // A frame larger than the window widens and heightens it when it shows.
    TAnimaci large(dialogs, Frames(2, 300, 200));
    large.show();
    QCOMPARE(Seen(large, "Animaci 0x0"), "Animaci 302x329 10px \"Animation viewer\"");
  }
  void AviCreatorListCounterAndLayout() {
    ScriptedDialogs dialogs;
    TAniToolForm form(dialogs, Frames(3, 4, 2));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QStringList rows = {
        "AniToolForm 427x273 10px centred \"VeskTrelvanique Avi Creator\"", "Panel1 0,0 427x33",
        "SpeedButton4 4,4 25x25 [Add bitmap to frame list] icon",
        "SpeedButton3 31,4 25x25 [Remove bitmap(s) from frame list] icon",
        "SpeedButton1 58,4 25x25 [Create AVI file from frame list] icon", "Label1 100,8 120x17 right",
        "BitBtn1 343,4 80x25 \"&Close\" [Close this dialog box] icon",
        "BitmapListBox 0,33 321x221 [This is a frame list]", "BitmapImage 321,33 106x221 [this is a frame]",
        "StatusBar1 0,254 427x19",
    };
    QCOMPARE(Seen(form, rows), rows);
    for (const char* name : {"f4.bmp", "f5.bmp"}) WriteBmp(dir_.filePath(name), Bitmap(4, 2, kBlack));
    auto* list = NamedChild<QListWidget>(form, "BitmapListBox");
    auto* preview = NamedChild<TPictureBox>(form, "BitmapImage");
    const auto row_at = [&](int row) { return list->visualItemRect(list->item(row)).center(); };
    PaintCounter paints(&form), preview_paints(preview);
    RunSteps(
        {
            // the list, * when selected | status line | preview | counter
            {"opened", [] {}, "imag1.bmp imag2.bmp imag3.bmp |  | - 106x221 no | "},
            {"two added",
             [&] {
               dialogs.open_answers = {QStringList{dir_.filePath("f4.bmp"), dir_.filePath("f5.bmp")}};
               Click(form, "SpeedButton4");
             },
             "imag1.bmp imag2.bmp imag3.bmp f4.bmp f5.bmp |  | - 106x221 no | "},
            {"one clicked", [&] { QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row_at(0)); },
             "imag1.bmp* imag2.bmp imag3.bmp f4.bmp f5.bmp | imag1.bmp | 4x2 106x221 yes | "},
            {"another, with Ctrl", [&] { QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, row_at(3)); },
             "imag1.bmp* imag2.bmp imag3.bmp f4.bmp* f5.bmp | imag1.bmp | - 106x221 yes | "},
            {"both removed", [&] { Click(form, "SpeedButton3"); }, "imag2.bmp imag3.bmp f5.bmp |  | - 106x221 no | "},
            {"written",
             [&] {
               dialogs.save_answers = {dir_.filePath("movie")};
               paints.painted = QRegion();
               Click(form, "SpeedButton1");
               QVERIFY(paints.painted.contains(form.rect()));  // the whole dialog, after its question
             },
             "imag2.bmp imag3.bmp f5.bmp |  | - 106x221 yes | 3/3"},
        },
        [&] {
          QStringList entries;
          for (int i = 0; i < list->count(); ++i) {
            entries << QFileInfo(list->item(i)->text()).fileName() + (list->item(i)->isSelected() ? "*" : "");
          }
          const QSize shown = preview->Picture().size();
          QCoreApplication::processEvents();
          return QStringList{entries.join(' '),
                             QFileInfo(NamedChild<QStatusBar>(form, "StatusBar1")->currentMessage()).fileName(),
                             QString("%1 %2x%3 %4").arg(preview->Empty() ? "-" : QString("%1x%2").arg(shown.width()).arg(shown.height()))
                                 .arg(preview->width()).arg(preview->height()).arg(std::exchange(preview_paints.count, 0) ? "yes" : "no"),
                             NamedChild<QLabel>(form, "Label1")->text()}.join(" | ");
        });
    QCOMPARE(dialogs.titles.first() + "|" + dialogs.filters.first(), "Add Bitmap|Bitmaps|*.bmp|Icons|*.ico");
    QVERIFY(QFile::exists(dir_.filePath("movie.avi")));
    // The list keeps its width, the preview takes the rest.
    form.resize(600, 400);
    const QStringList resized = {
        "Panel1 0,0 600x33", "BitBtn1 516,4 80x25 \"&Close\" [Close this dialog box] icon",
        "BitmapListBox 0,33 321x348 [This is a frame list]",
        "BitmapImage 321,33 279x348 [this is a frame]", "StatusBar1 0,381 600x19"};
    QCOMPARE(Seen(form, resized), resized);
    Click(form, "BitBtn1");
    QVERIFY(!form.isVisible());
  }
};

QTEST_MAIN(DialogsViewTest)
#include "dialogs_view_test.moc"
