// What each window shows: its controls as designed (place, caption, hint,
// state), and after each step of its commands the caption, the windows, the
// enabled items, the bars, the preview's requests and what is painted at once;
// files named on the command line, the help found, printing, and picture
// names that keep the mesh file's bytes.
#include <QComboBox>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTextBrowser>
#include <QUrl>

#include "app/about_box.h"
#include "app/animation_viewer.h"
#include "app/avi_creator.h"
#include "app/file_name_bytes.h"
#include "app/help_window.h"
#include "app/kancel_form.h"
#include "app/options_form.h"
#include "app/preview_form.h"
#include "app1_support.h"
#include "core/mesh/mesh_file.h"
#include "pictures/image_convert.h"
#include "support/view_checks.h"

class ViewsTest : public QObject, WindowFixture {
  Q_OBJECT

 private:
  // Caption | image windows as made: title, + when the mesh shows on it, * when
  // active, place | Label1 | Paste | the windows that do not show the mesh as it is.
  QString MainWindowShows() const {
    QStringList windows;
    for (QMdiSubWindow* w : form_->MdiArea()->subWindowList(QMdiArea::CreationOrder)) {
      auto* child = qobject_cast<TChildForm*>(w);
      windows << QString("%1%2%3 %4,%5 %6x%7")
                     .arg(w->windowTitle(), child->PictureBitmap() != child->GetBitmap() ? "+" : "",
                          w == form_->MdiArea()->activeSubWindow() ? "*" : "")
                     .arg(w->x()).arg(w->y()).arg(w->width()).arg(w->height());
    }
    return QStringList{form_->windowTitle(), windows.join(", "),
                       NamedChild<QLabel>(*form_, "Label1")->text(),
                       Item(*form_, "Paste")->isEnabled() ? "on" : "off"}.join(" | ") +
           (Stale().isEmpty() ? "" : " | not redrawn: " + Stale());
  }

 private slots:
  void init() { StartWindow(); }
  void cleanup() { StopWindow(); }
  void ControlsAsDesigned() {
    const QStringList main_rows = {
        "MDIForm 538x401 10px centred \"Trelvanique 1.1 NoName.mesh\"",
        "Panel1 0,0 538x57 box sunken",
        "NewButton 7,3 25x25 [New mesh] icon", "OpenMeshButton 34,3 25x25 [Open mesh] icon",
        "SaveMeshButton 62,3 25x25 [Save mesh] icon", "BitBtn1 228,3 25x25 [Colorize] icon off",
        "CopyF2PButton 104,3 25x25 [Copy Vesk 2 First] icon off",
        "CopyS2PButton 131,3 25x25 [Copy Vesk 2 Second] icon off",
        "SwapButton 159,3 25x25 [Swap nods] icon off", "MorphButton 311,3 25x25 [Morph] icon off",
        "SheetGlassButton 201,3 25x25 [Sheet Glass] icon off",
        "FlagButton 256,3 25x25 [Flag Streaming] icon off",
        "DistorsionButton 283,3 25x25 [Distorsion] icon off",
        "AniBitBtn 345,3 25x25 [Load frame list file] icon",
        "ExitButton 7,29 25x25 [Exit: close the program] icon",
        "OpenFirstButton 34,29 25x25 [Open first image] icon",
        "OpenSecondButton 62,29 25x25 [Open second image] icon",
        "Label1 119,33 auto \"(0:0)\" [Coords ] centre", "Label2 168,34 auto \"Iteration:\"",
        "MaxStepButton 209,31 22x21 \"12\" [Number of frames]", "Label3 256,34 auto \"Precision:\"",
        "UpDownMaxStep 231,31 15x21 [Iteration] 1..100", "Edit2 304,31 22x21 \"1\" [Precision]",
        "UpDown1 326,31 15x21 [Precision] 1..200", "ClientArea 0,57 538x305",
        "StatusBar", "FoldOverLabel \"Folded triangles: 0\""};
    QCOMPARE(Seen(*form_, main_rows), main_rows);
    QStringList menus;
    for (QAction* bar_item : form_->menuBar()->actions()) {
      QStringList items{bar_item->menu()->objectName(), bar_item->text()};
      for (QAction* item : bar_item->menu()->actions()) items << item->objectName();
      menus << items.join(' ');
    }
    QCOMPARE(menus, QStringList({
        "File1 &File OpenFirst OpenSecond N2 NewMesh OpenMesh Savemesh SaveMashAs N1 "
        "SaveVeskImageAs N9 PrintVeskImage1 PrinterSetup1 N3 Exit1 N12 RecentMeshes "
        "N16 NewSequence OpenSequence",
        "Edit1 &Edit Undo1 Redo1 N10 Copy Paste N5 CopyVesk2First CopyVesk2Second N4 "
        "SwapMorphMesh N13 NewGridMesh TriangulateNodes AutoMesh N15 FitSecondToFirst",
        "View1 &View ZoomIn1 ZoomOut1 FitWindow1 ActualPixels1 N11 LinkWindows1",
        "Tools1 &Tools SheetGlass Colorize1 FlagStreaming1 Distorsion1 Ombrix1 N7 Animations N6 "
        "Options Preview N14 AverageFaces Caricature", "Window1 &Window Tile1 Cascade1 ArrangeIcons1",
        "Help1 &Help Index N8 About"}));
    const QStringList kancel_rows = {
        "KancelForm 194x90 10px \"Process\" hidden", "ProgressBar1 7,7 182x13 0..100=0 notext",
        "Label1 17,26 100x14 right", "ProgressBar2 7,46 182x13 0..100=0 notext",
        "KancelButton 46,65 104x20 \"&Kancel\" [Do you want to Kancel ?] default"};
    QCOMPARE(Seen(form_->KancelForm(), kancel_rows), kancel_rows);
    TOptionsForm options{Settings{}};
    options.show();
    // Each page lays itself out when first shown.
    auto* pages = NamedChild<QTabWidget>(options, "PageControl1");
    for (int page = pages->count(); page-- > 0;) pages->setCurrentIndex(page);
    const QStringList options_rows = {
        "OptionsForm 372x188 10px centred \"Options\"", "PageControl1 0,0 372x155",
        "GroupBox1 4,2 306x114 \"Sheet Size\"", "\"Horizontal Size: \" 10,30 auto",
        "Edit1 96,26 34x21 \"36\"", "UpDown1 130,26 15x21 0..100", "\"Vertical Size:\" 10,66 auto",
        "Edit2 96,62 34x21 \"36\"", "UpDown2 130,62 15x21 0..100", "Shape1 200,40 36x36 #ffffff",
        "GroupBox2 4,2 306x114", "\"Flag Radius:\" 8,18 auto", "Edit3 128,14 34x21 \"10\"",
        "UpDown3 162,14 15x21 1..15", "\"Horizontal Quotient:\" 8,50 auto",
        "Edit4 128,46 34x21 \"3\"", "UpDown4 162,46 15x21 0..10",
        "\"Vertical Quotient:\" 8,82 auto", "Edit5 128,78 34x21 \"3\"",
        "UpDown5 162,78 15x21 0..10", "Image1 192,14 auto picture",
        "GroupBox3 4,2 220x114 \"Colors\"", "RadioButton1 8,18 auto \"Selected Nod:\" down",
        "Shape2 134,19 22x16 #ff0000", "RadioButton2 8,42 auto \"Previous Nod:\" up",
        "Shape3 134,43 22x16 #008000", "RadioButton3 8,66 auto \"Not Selected Nod:\" up",
        "Shape4 134,67 22x16 #c8c8c8", "RadioButton4 8,90 auto \"Line:\" up",
        "Shape5 134,91 22x16 #0000ff", "ScrollBar1 162,16 16x92 0..255=255",
        "ScrollBar2 180,16 16x92 0..255=0", "ScrollBar3 198,16 16x92 0..255=0",
        "\"Node Size:\" 232,12 auto", "Edit6 232,30 34x21 \"5\"", "UpDown6 266,30 15x21 1..12",
        "Shape6 288,30 10x10 #ffffff",
        "CheckBox1 232,92 auto \"Equalize\" [Equalize Pictures] down",
        "RenderingGroup 4,2 358x119 \"Frames of Ombrix and Distorsion\"",
        "RenderingClassic 8,18 auto \"Classic\" down", "RenderingSmooth 8,66 auto \"Smooth\" up",
        "TimingGroup 4,2 358x119 \"Frames of Ombrix and Distorsion\"",
        "\"Shape:\"",  // placed by the page's form layout
        "ShapeCurveBox \"Linear\"", "\"Colour:\"", "ColourCurveBox \"Linear\"", "\"Hold frames:\"",
        "HoldBox",
        "Button1 208,159 75x25 \"&OK\" default", "Button2 292,159 75x25 \"&Cancel\""};
    QCOMPARE(Seen(options, options_rows), options_rows);
    QStringList tabs;
    for (int page = 0; page < pages->count(); ++page) tabs << pages->tabText(page);
    QCOMPARE(tabs.join('|'), "Sheet Glass|Flag Streaming|Costumize|Rendering|Timing");
    QTemporaryDir dir;
    const QString list =
        WriteFrameList(dir, 3, [](int k) { return Bitmap(16, 12, MakeColor(k, 9, 9)); });
    TAnimaci viewer(dialogs_, list);
    viewer.show();
    const QStringList viewer_rows = {
        "Animaci 181x238 10px centred \"Animation viewer\"", "Label2 8,4 60x14 \"Speed:\"",
        "Label1 100,4 73x14 \"1/1\" right", "TrackBar1 4,18 173x22 [Replay speed] 1..15=12",
        "TrackBar2 4,40 173x22 [Frame number] 1..3=1", "SpeedButton1 8,64 25x25 [Play] icon down",
        "SpeedButton3 33,64 25x25 [Pause] icon up",
        "SpeedButton2 58,64 25x25 [Play next frame] icon up",
        "BitBtn2 89,64 62x25 \"Create &Avi\" [Create AVI file from this animation]",
        "BitBtn1 153,64 25x25 [Close this dialog box] icon",
        "CheckBox1 8,88 auto \"Back && Forth\" up", "Image1 1,104 16x12 [This is a animation !!!]"};
    QCOMPARE(Seen(viewer, viewer_rows), viewer_rows);
    TAniToolForm creator(dialogs_, list);
    creator.show();
    const QStringList creator_rows = {
        "AniToolForm 427x273 10px centred \"VeskTrelvanique Avi Creator\"", "Panel1 0,0 427x33",
        "SpeedButton4 4,4 25x25 [Add bitmap to frame list] icon",
        "SpeedButton3 31,4 25x25 [Remove bitmap(s) from frame list] icon",
        "SpeedButton1 58,4 25x25 [Create AVI file from frame list] icon",
        "Label1 100,8 120x17 right", "BitBtn1 343,4 80x25 \"&Close\" [Close this dialog box] icon",
        "BitmapListBox 0,33 321x221 [This is a frame list]",
        "BitmapImage 321,33 106x221 [this is a frame]", "StatusBar1 0,254 427x19"};
    QCOMPARE(Seen(creator, creator_rows), creator_rows);
    // The list keeps its width and the preview takes the rest.
    creator.resize(600, 400);
    QCOMPARE(Seen(creator, "Panel1 0,0 | BitBtn1 0,0 | BitmapListBox 0,0 | BitmapImage 0,0"),
             "Panel1 0,0 600x33 | BitBtn1 516,4 80x25 \"&Close\" [Close this dialog box] icon | "
             "BitmapListBox 0,33 321x348 [This is a frame list] | "
             "BitmapImage 321,33 279x348 [this is a frame]");
    TAboutBox about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const QStringList about_rows = {
        "AboutBox 298x221 10px centred \"About Trelvanique\"", "Panel1 8,8 281x161 panel sunken",
        "ProgramIcon 8,8 auto picture", "Version 88,40 185x16 \"Version: 1.1\"",
        "ProductName 88,16 185x16 \"Product Name: Vesk Trelvanique\"",
        "Comments 8,96 265x16 \"Morphs and effects, made by its team\" [Click Here]",
        "Label1 8,120 265x16 \"See README.md for how to reach us\" [Click Here]",
        "OKButton 111,180 75x25 \"&OK\" default"};
    QCOMPARE(Seen(about, about_rows), about_rows);
    const QImage drawn(VESK_SOURCE_DIR "/tests/data/program_picture.png");
    QCOMPARE(ToQImage(about.Picture()), drawn.convertToFormat(QImage::Format_RGB32));
    // A contact line roughens the picture, painted at once; OK closes.
    PaintCounter icon(NamedChild<QLabel>(about, "ProgramIcon"));
    for (const char* clicked : {"ProductName", "Label1", "Comments"}) {
      QCoreApplication::processEvents();
      const Bitmap before = about.Picture();
      icon.count = 0;
      QTest::mouseClick(NamedChild<QLabel>(about, clicked), Qt::LeftButton);
      QCOMPARE(QString("%1 %2").arg(about.Picture() != before).arg(icon.count),
               *clicked == 'P' ? "0 0" : "1 1");
    }
    QVERIFY(ToQImage(about.Picture()) ==
            NamedChild<QLabel>(about, "ProgramIcon")->pixmap().toImage());
    Click(about, "OKButton");
    QVERIFY(!about.isVisible());
  }
  // Before each `fresh` step the clipboard is made to disagree with Paste: the
  // step brings Paste up to date only if it updates the enabled items.
  void StepsOfTheMainWindowCommands() {
    const QString a = WriteBmp(File("a.bmp"), TestPicture(30, 20, 1));
    const QString b = WriteBmp(File("b.bmp"), TestPicture(24, 26, 2));
    const QString named = "Trelvanique 1.1 NoName.mesh | ", m2 = "Trelvanique 1.1 m2.mesh | ";
    const QString two = "a.bmp+ 0,0 269x305, b.bmp+* 269,0 269x305 | (   9:  11) | ";
    const QString three =
        m2 + "a.bmp+ 0,0 269x305, b.bmp+ 269,0 269x305, Trelvanique* 0,0 238x159 | (   9:  11) | ";
    const QString icon = m2 + "a.bmp%1 0,0 179x305, b.bmp%1* 0,281 196x24, " +
                         "Trelvanique 358,0 180x305 | (   9:  11) | ";
    const auto save = [&](const char* name) { dialogs_.save_answers = {QString(name)}; };
    const auto open = [&](const QString& name, const char* button) {
      dialogs_.open_answers = {QStringList{name}};
      Click(*form_, button);
    };
    const struct {
      const char* step;
      std::function<void()> act;
      bool fresh;
      QString seen;
    } rows[] = {
        {"open first", [&] { open(a, "OpenFirstButton"); }, true,
         named + "a.bmp* 0,0 538x305 | (0:0) | on"},
        {"open second", [&] { OpenImage(*form_, dialogs_, "OpenSecond", b); }, true,
         named + "a.bmp 0,0 269x305, b.bmp* 269,0 269x305 | (0:0) | off"},
        {"place a node", [&] { ClickAt(1, {5, 17}); Drag(2, {5, 17}, {8, 12}, {9, 11}); }, true,
         named + two + "on"},
        {"save mesh", [&] { Key(Qt::CTRL | Qt::Key_S); }, true, named + two + "off"},
        {"save mesh as", [&] { save("m2"); Run("SaveMashAs"); }, true, m2 + two + "on"},
        {"colorize: each frame painted as it comes, the list closed when the run ends",
         [&] {
           save("run");
           PaintCounter frames(form_.get());  // the Vesk picture's, seen by the application
           qApp->installEventFilter(&frames);
           qsizetype listed = -1;
           QObject ended;
           connect(form_.get(), &TMDIForm::InputsChanged, &ended,
                   [&] { listed = ListLines("run.any").size(); });
           Click(*form_, "BitBtn1");
           QVERIFY(frames.count >= 13 && listed == 13);  // the first, 11 blends and the second
         },
         true, three + "off"},
        {"copy", [&] { Key(Qt::CTRL | Qt::Key_C); }, true, three + "on"},
        {"paste", [&] { Key(Qt::CTRL | Qt::Key_V); }, false, three + "on"},
        {"save the Vesk image", [&] { save("v"); Run("SaveVeskImageAs"); }, true, three + "off"},
        {"swap", [&] { Key(Qt::CTRL | Qt::Key_W); }, false, three + "off"},
        {"undo", [&] { Key(Qt::CTRL | Qt::Key_Z); }, true, three + "on"},
        {"triangulate", [&] { Run("TriangulateNodes"); }, true, three + "off"},
        {"Vesk to second", [&] { Click(*form_, "CopyS2PButton"); }, false, three + "off"},
        {"options: a new line colour drawn at once",
         [&] {
           WhenModalOpens([](QWidget* options) {
             Click(*options, "RadioButton4");
             NamedChild<QScrollBar>(*options, "ScrollBar1")->setValue(99);
             Click(*options, "Button1");
           });
           Run("Options");
           QCOMPARE(form_->CurrentSettings().LineColor, MakeColor(99, 0, 255));
         },
         false, three + "off"},
        {"cascade", [&] { Run("Cascade1"); }, false,
         m2 + "a.bmp+ 0,0 120x96, b.bmp+ 10,21 120x96, Trelvanique* 20,42 120x96 | " +
             "(   9:  11) | off"},
        {"close box minimizes, arrange icons",
         [&] { Run("Tile1"); form_->SecondChild()->close(); Run("ArrangeIcons1"); }, false,
         icon.arg("+") + "off"},
        {"new mesh", [&] { Key(Qt::CTRL | Qt::Key_N); }, true, icon.arg("") + "on"},
        {"open mesh", [&] { open("m2.mesh", "OpenMeshButton"); }, true,
         m2 + "Trelvanique 0,0 179x305, a.bmp+ 179,0 179x305, b.bmp+* 358,0 180x305 | " +
             "(   9:  11) | off"},
    };
    for (const auto& row : rows) {
      const bool paste = Item(*form_, "Paste")->isEnabled();
      QClipboard* clipboard = QApplication::clipboard();
      if (row.fresh && paste) clipboard->clear();
      if (row.fresh && !paste) clipboard->setImage(QImage(2, 2, QImage::Format_RGB32));
      row.act();
      QVERIFY2(MainWindowShows() == row.seen && !dialogs_.unexpected,
               qPrintable(row.step + (": " + MainWindowShows())));
    }
    QMenu* window_menu = NamedChild<QMenu>(*form_, "Window1");
    emit window_menu->aboutToShow();  // the image windows listed, the active one checked
    QStringList listed;
    for (QAction* item : window_menu->actions().mid(4)) {
      listed << item->text() + (item->isChecked() ? "*" : "");
    }
    QCOMPARE(listed, QStringList({"&1 Trelvanique", "&2 a.bmp", "&3 b.bmp*"}));
    form_->FirstChild()->showMinimized();
    window_menu->actions()[5]->trigger();  // brings a.bmp back and up
    QVERIFY(form_->ActiveChild() == form_->FirstChild() && !form_->FirstChild()->isMinimized());
  }
  // The progress window through the protocol of a run: bars, counter, caption,
  // the main window's state, KancelFlag and the hooks called.
  void ProgressWindowThroughARun() {
    TKancelForm& form = form_->KancelForm();
    QWidget main_window;
    QStringList calls;
    const Bitmap picture(8, 4, kWhite);
    KancelRun run(form, main_window, [&](const Bitmap&) { calls << "show"; }, [&](const Bitmap&) {
      calls << "write";
      return Status::Success();
    });
    run.SetColumnsHook(
        [&](const Bitmap&, int from, int to) { calls << QString("%1-%2").arg(from).arg(to); });
    const auto messages = [&] { ResetMessageClock(); run.ProcessMessages(); };
    const std::pair<std::function<void()>, const char*> rows[] = {
        // caption, shown, enabled, inner bar, counter, outer bar | main window, KancelFlag, hooks
        {[&] { form.ProgressBar1()->setValue(6), KancelFlag = 1, run.Begin(); },
         "Process shown on 0 '' 0 | off 0"},
        {[&] { run.Counter(3, 12); run.InnerBar(40); }, "Process shown on 40 '3/12' 25 | off 0"},
        {[&] { run.EqualizationBegin(); }, "Equalization shown off 40 '3/12' 25 | off 0"},
        {[&] { run.EqualizationEnd(); }, "Process shown on 40 '3/12' 25 | off 0"},
        {[&] { run.ColumnsPainted(picture, 2, 5); run.ColumnsPainted(picture, 1, 3); messages(); },
         "Process shown on 40 '3/12' 25 | off 0 1-5"},
        {[&] { run.ShowFrame(picture); messages(); run.WriteFrame(picture); },
         "Process shown on 40 '3/12' 25 | off 0 show write"},
        {[&] { Click(form, "KancelButton"); }, "Process hidden on 40 '3/12' 25 | off 1"},
        {[&] { run.End(); }, "Process hidden on 40 '3/12' 25 | on 1"},
        {[&] { run.Begin(), QTest::keyClick(&form, Qt::Key_Escape); },
         "Process shown on 0 '' 0 | off 0"},
        {[&] { QTest::keyClick(&form, Qt::Key_Return); }, "Process hidden on 0 '' 0 | off 1"},
        {[&] { run.Begin(); run.End(); }, "Process hidden on 0 '' 0 | on 0"},
    };
    for (const auto& [act, seen] : rows) {
      act();
      QCOMPARE((QStringList{QString("%1 %2 %3 %4 '%5' %6 | %7 %8")
                                .arg(form.windowTitle(), form.isVisible() ? "shown" : "hidden",
                                     form.isEnabled() ? "on" : "off")
                                .arg(form.ProgressBar1()->value()).arg(form.Label1()->text())
                                .arg(form.ProgressBar2()->value())
                                .arg(main_window.isEnabled() ? "on" : "off").arg(KancelFlag)} +
                std::exchange(calls, {})).join(' '),
               QString(seen));
    }
    QVERIFY(Seen(form, "KancelForm 0x0").contains("centred") && run.FramesShown() == 1);
  }
  // Every control the frame depends on asks the preview for a new frame.
  void PreviewFollowsEveryInput() {
    Run("Preview");
    auto* preview = form_->findChild<TPreviewForm*>("PreviewForm");
    auto* timer = preview->findChild<QTimer*>();
    const auto ok = [this](QWidget* options) { Click(*options, "Button1"); };
    const auto set = [&](const char* name, int value) {
      auto* control = preview->findChild<QWidget*>(name);
      if (auto* slider = qobject_cast<QSlider*>(control)) slider->setValue(value);
      if (auto* box = qobject_cast<QComboBox*>(control)) box->setCurrentIndex(value);
      if (auto* speed = qobject_cast<QSpinBox*>(control)) speed->setValue(value);
    };
    const std::pair<std::function<void()>, const char*> rows[] = {
        // counter, slider, kind | frames asked for | playing
        {[] {}, "First and Second image not open 0..12=0 Morph | 0 | stopped"},
        {[&] { OpenBoth(20, 16); }, "0/12 0..12=0 Morph | 1 | stopped"},
        {[&] { Edit(*form_, "MaxStepButton")->setText("5"); }, "0/5 0..5=0 Morph | 1 | stopped"},
        {[&] { set("FrameSlider", 3); }, "3/5 0..5=3 Morph | 1 | stopped"},
        {[&] { set("KindBox", 1); }, "3/5 0..5=3 Distortion | 1 | stopped"},
        {[&] { Edit(*form_, "Edit2")->setText("2"); }, "3/5 0..5=3 Distortion | 1 | stopped"},
        {[&] { ClickAt(1, {4, 4}); }, "3/5 0..5=3 Distortion | 1 | stopped"},
        {[&] { WhenModalOpens(ok); Run("Options"); }, "3/5 0..5=3 Distortion | 1 | stopped"},
        {[&] { Click(*preview, "PlayButton"); QMetaObject::invokeMethod(timer, "timeout"); },
         "4/5 0..5=4 Distortion | 1 | &Stop 250"},
        {[&] {
           set("SpeedEdit", 10);
           for (int tick = 0; tick < 2; ++tick) QMetaObject::invokeMethod(timer, "timeout");
         },
         "0/5 0..5=0 Distortion | 1 | &Stop 100"},
        {[&] { preview->hide(), Edit(*form_, "MaxStepButton")->setText("6"); },
         "0/5 0..5=0 Distortion | 0 | stopped"},
        {[&] { preview->show(); }, "0/6 0..6=0 Distortion | 1 | stopped"},
    };
    for (const auto& [act, seen] : rows) {
      const std::uint64_t asked = preview->RequestedSerial();
      act();
      QCoreApplication::processEvents();  // the request waits for an idle interface
      auto* slider = NamedChild<QSlider>(*preview, "FrameSlider");
      const QString play = NamedChild<QPushButton>(*preview, "PlayButton")->text();
      QCOMPARE(QString("%1 0..%2=%3 %4 | %5 | %6")
                   .arg(NamedChild<QLabel>(*preview, "FrameLabel")->text()).arg(slider->maximum())
                   .arg(slider->value())
                   .arg(NamedChild<QComboBox>(*preview, "KindBox")->currentText())
                   .arg(preview->RequestedSerial() - asked)
                   .arg(timer->isActive() ? QString("%1 %2").arg(play).arg(timer->interval())
                                          : "stopped"),
               QString(seen));
    }
  }
  // Painting on the Vesk image repaints at once; the middle button pans a
  // zoomed picture the other way.
  void RepaintsAndPan() {
    OpenBoth(300, 200);
    dialogs_.save_answers = {std::nullopt};
    Run("Colorize1");
    TChildForm* vesk = form_->VeskChild();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    QCoreApplication::processEvents();
    PaintCounter paints(vesk->Image1());
    QTest::mousePress(vesk->Image1(), Qt::RightButton, Qt::ShiftModifier, {2, 3});
    QTest::mouseMove(vesk->Image1(), {9, 8});
    QCOMPARE(paints.painted, QRegion(9, 8, 1, 1));
    QVERIFY(vesk->GetBitmap() == second_);  // the clean image waits for the release
    QTest::mouseRelease(vesk->Image1(), Qt::RightButton, {}, {12, 8});
    QTest::mouseMove(vesk->Image1(), {14, 8});  // the button is up: nothing painted
    const Color picked = second_.Pixel(2, 3);
    QCOMPARE(QList<Color>({vesk->GetBitmap().Pixel(9, 8), vesk->GetBitmap().Pixel(12, 8),
                           vesk->PictureBitmap().Pixel(14, 8)}),
             QList<Color>({picked, picked, second_.Pixel(14, 8)}));
    form_->MdiArea()->setActiveSubWindow(form_->FirstChild());
    for (const char* item : {"ZoomIn1", "ZoomIn1"}) Run(item);
    auto* scroll = form_->FirstChild()->findChild<QScrollArea*>("ScrollBox");
    const auto at = [scroll] {
      return QPoint(scroll->horizontalScrollBar()->value(), scroll->verticalScrollBar()->value());
    };
    const QPoint before = at();
    QTest::mousePress(Image(1), Qt::MiddleButton, {}, {100, 100});
    QTest::mouseMove(Image(1), {90, 80});
    QTest::mouseRelease(Image(1), Qt::MiddleButton, {}, {90, 80});
    QTest::mouseMove(Image(1), {50, 50});
    QCOMPARE(at() - before, QPoint(10, 20));
  }
  // Names from the command line or dropped on the window, one call per "; ";
  // then the help window and printing.
  void FilesNamedHelpAndPrinter() {
    const std::pair<const char*, const char*> rows[] = {
        // first and second image window, messages; dropped when the names start with "drop"
        {"", "- -"}, {"a.bmp", "a.bmp -"}, {"drop a.bmp; drop b.bmp", "a.bmp b.bmp"},
        {"b.bmp a.bmp", "b.bmp a.bmp"}, {"m.mesh", "b.bmp a.bmp"},
        {"drop gone.bmp b.bmp", "b.bmp - gone.bmp file already not exist"}};
    for (const auto& [calls, seen] : rows) {
      RestartWindow();
      for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) WriteBmp(File(name), Bitmap(8, 6));
      QVERIFY(WriteMeshFile(File("m.mesh").toStdString(), Mesh(), "b.bmp", "a.bmp").Ok());
      for (QString call : QString(calls).split("; ")) {
        QStringList files = call.split(' ', Qt::SkipEmptyParts);
        if (files.value(0) != "drop") form_->OpenFiles(files);
        QMimeData data;
        for (const QString& f : files.mid(1)) {
          data.setUrls(data.urls() << QUrl::fromLocalFile(File(f)));
        }
        QDragEnterEvent enter(QPoint(9, 9), Qt::CopyAction, &data, Qt::LeftButton, {});
        QDropEvent drop(QPointF(9, 9), Qt::CopyAction, &data, Qt::LeftButton, {});
        for (QEvent* e : {static_cast<QEvent*>(&enter), static_cast<QEvent*>(&drop)}) {
          if (files.value(0) == "drop") QApplication::sendEvent(form_.get(), e);
        }
      }
      QStringList shown;
      for (TChildForm* w : {form_->FirstChild(), form_->SecondChild()}) {
        shown << (w ? w->windowTitle() : "-");
      }
      for (const auto& m : dialogs_.messages) shown << QFileInfo(m.text).fileName();
      QCOMPARE(shown.join(' '), QString(seen));
    }
    // Index shows ./Zelph.hlp, else the one where the program started, else the
    // one built in; pressed twice, one window; Escape closes it.
    QTemporaryDir start;
    RememberHelpFolder(start.filePath("Zelph.hlp"));
    for (const char* found : {"here", "start", "Vesk Trelvanique 1.1"}) {
      if (*found == 'h') WriteBytes(File("Zelph.hlp"), "<p>here</p>");
      if (*found == 's') WriteBytes(start.filePath("Zelph.hlp"), "<p>start</p>");
      if (*found == 's') QVERIFY(QFile::remove(File("Zelph.hlp")) && QDir().mkdir("Zelph.hlp"));
      if (*found == 'V') QVERIFY(QFile::remove(start.filePath("Zelph.hlp")));
      for (int press = 0; press < 2; ++press) Key(Qt::Key_F1);
      const auto windows = form_->findChildren<THelpWindow*>();
      QVERIFY(windows.size() == 1 && QTest::qWaitForWindowActive(windows[0], 1000));
      QCOMPARE(Seen(*windows[0], "HelpWindow 0x0 | HelpBrowser 0,0") + " " +
                   windows[0]->Browser()->toPlainText().section('\n', 0, 0),
               "HelpWindow 560x480 \"Trelvanique Help\" | HelpBrowser 0,0 560x480 " +
                   QString(found));
    }
    QPointer<THelpWindow> help = form_->findChild<THelpWindow*>();
    QTest::keyClick(help->Browser(), Qt::Key_Escape);
    QTRY_VERIFY(help.isNull());
    QVERIFY(QDir().rmdir("Zelph.hlp"));
    QFile large(File("Zelph.hlp"));
    QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(17 << 20));
    Key(Qt::Key_F1);
    QCOMPARE(Shown().last(), "Trelvanique: The help file ./Zelph.hlp is too large.");
    RememberHelpFolder(QString());
    // About shows its box until OK. Printer Setup asks where a printer is
    // installed, else says there is none; a cancelled print writes nothing.
    WhenModalOpens([](QWidget* about) {
      Click(*about, "OKButton");
      if (!about->isVisible()) return;
      about->close();
      QFAIL("About stays open");
    });
    Run("About");
    for (const bool installed : {false, true}) {
      dialogs_.printer_installed = installed;
      dialogs_.printer_answers = {true};
      dialogs_.titles.clear();
      dialogs_.messages.clear();
      Run("PrinterSetup1");
      QCOMPARE(dialogs_.titles.join("") + Shown().join(""),
               installed ? "Printer Setup" : "Trelvanique: There is no printer to set up");
    }
    OpenBoth(8, 6);
    dialogs_.save_answers = {std::nullopt};
    Run("Colorize1");
    dialogs_.print_file = File("page.pdf");
    dialogs_.printer_answers = {false, true};
    for (int press = 0; press < 2; ++press) {
      Key(Qt::CTRL | Qt::Key_P);
      QFile page(File("page.pdf"));
      QCOMPARE(page.open(QIODevice::ReadOnly) && page.readAll().contains("/Image"), press == 1);
    }
  }
  // Picture names read from a mesh file come back as the same bytes; what is
  // not UTF-8 travels as one escaped character a byte.
  void MeshPictureNamesKeepTheirBytes() {
    const std::pair<const char*, int> rows[] = {
        {"plain\x7f.bmp", 0}, {"\xc2\x80 \xc3\xa9", 0}, {"\xc0\xaf", 2}, {"\xe0\xa0\x80", 0},
        {"\xe0\x9f\xbf", 3}, {"\xe2\x82\xac", 0}, {"\xed\x9f\xbf", 0}, {"\xed\xa0\x80", 3},
        {"\xed\xbf\xbf", 3}, {"\xee\x80\x80", 0}, {"\xf0\x90\x80\x80", 0}, {"\xf0\x8f\xbf\xbf", 4},
        {"\xf0\x9f\x98\x80", 0}, {"\xf4\x8f\xbf\xbf", 0}, {"\xf4\x90\x80\x80", 4},
        {"\xe9t\xe9.bmp", 2}, {"\x80\xff", 2}, {"a\xe2\x82", 2}, {"\xf8\x88\x80\x80\x80", 5}};
    for (const auto& [bytes, escaped] : rows) {
      const QString name = FileNameFromBytes(bytes);
      int escapes = 0;
      for (QChar c : name) escapes += c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF;
      QVERIFY2(escapes == escaped && FileNameBytes(name) == bytes, bytes);
      QVERIFY2(escaped || name == QString::fromUtf8(bytes), bytes);
    }
  }
};

QTEST_MAIN(ViewsTest)
#include "views_test.moc"
