// What the main window shows as its commands run: the tool panel and menus as
// designed, the caption, the image windows and their places, the coordinate
// label and whether each command brought the enabled items up to date; files
// named on the command line or dropped, the help window, the About box,
// printing, and picture names kept as the mesh file's bytes.
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>

#include "app/about_box.h"
#include "app/file_name_bytes.h"
#include "app/help_window.h"
#include "app1_support.h"
#include "core/mesh/mesh_file.h"
#include "qtimage/image_convert.h"
#include "support/view_checks.h"

class MainWindowViewTest : public QObject, WindowFixture {
  Q_OBJECT

 private:
  // Caption | image windows as made: title, + when the mesh shows on it, * when
  // active, place | Label1 | Paste.
  QString Shows() const {
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
                       Item(*form_, "Paste")->isEnabled() ? "on" : "off"}.join(" | ");
  }
  void Key(QKeySequence key) {
    form_->activateWindow();  // a run's progress window had the focus
    if (!QTest::qWaitForWindowActive(form_.get())) qWarning("main window not active");
    QTest::keySequence(form_.get(), key);
  }
  void Click(const char* button) { QTest::mouseClick(Button(*form_, button), Qt::LeftButton); }
  void Run(const char* item) { Item(*form_, item)->trigger(); }
  void Save(std::optional<QString> name) { dialogs_.save_answers = {name}; }

 private slots:
  void init() { StartWindow(); }
  void cleanup() { StopWindow(); }
  void ToolPanelAndMenusAsDesigned() {
    const QStringList rows = {
        "MDIForm 538x401 10px centred \"Trelvanique 1.1 NoName.mesh\"", "Panel1 0,0 538x57",
        "NewButton 7,3 25x25 [New mesh] icon", "OpenMeshButton 34,3 25x25 [Open mesh] icon",
        "SaveMeshButton 62,3 25x25 [Save mesh] icon",
        "CopyF2PButton 104,3 25x25 [Copy Vesk 2 First] icon off",
        "CopyS2PButton 131,3 25x25 [Copy Vesk 2 Second] icon off",
        "SwapButton 159,3 25x25 [Swap nods] icon off",
        "SheetGlassButton 201,3 25x25 [Sheet Glass] icon off",
        "BitBtn1 228,3 25x25 [Colorize] icon off",
        "FlagButton 256,3 25x25 [Flag Streaming] icon off",
        "DistorsionButton 283,3 25x25 [Distorsion] icon off",
        "MorphButton 311,3 25x25 [Morph] icon off",
        "AniBitBtn 345,3 25x25 [Load frame list file] icon",
        "ExitButton 7,29 25x25 [Exit: close the program] icon",
        "OpenFirstButton 34,29 25x25 [Open first image] icon",
        "OpenSecondButton 62,29 25x25 [Open second image] icon",
        "Label1 119,33 auto \"(0:0)\" [Coords ] centre", "Label2 168,34 auto \"Iteration:\"",
        "MaxStepButton 209,31 22x21 \"12\" [Number of frames]",
        "UpDownMaxStep 231,31 15x21 [Iteration] 1..100", "Label3 256,34 auto \"Precision:\"",
        "Edit2 304,31 22x21 \"1\" [Precision]", "UpDown1 326,31 15x21 [Precision] 1..200",
        "ClientArea 0,57 538x305",
        "FoldOverLabel \"Folded triangles: 0\"",  // its place follows the status line's
    };
    QCOMPARE(Seen(*form_, rows), rows);
    QStringList menus;
    for (QAction* bar_item : form_->menuBar()->actions()) {
      QStringList items{bar_item->menu()->objectName(), bar_item->text()};
      for (QAction* item : bar_item->menu()->actions()) items << item->objectName();
      menus << items.join(' ');
    }
    QCOMPARE(menus, QStringList({
        "File1 &File OpenFirst OpenSecond N2 NewMesh OpenMesh Savemesh SaveMashAs N1 "
        "SaveVeskImageAs N9 PrintVeskImage1 PrinterSetup1 N3 Exit1 N12 RecentMeshes",
        "Edit1 &Edit Undo1 Redo1 N10 Copy Paste N5 CopyVesk2First CopyVesk2Second N4 "
        "SwapMorphMesh N13 NewGridMesh TriangulateNodes",
        "View1 &View ZoomIn1 ZoomOut1 FitWindow1 ActualPixels1 N11 LinkWindows1",
        "Tools1 &Tools SheetGlass Colorize1 FlagStreaming1 Distorsion1 Ombrix1 N7 Animations N6 "
        "Options Preview",
        "Window1 &Window Tile1 Cascade1 ArrangeIcons1", "Help1 &Help Index N8 About"}));
  }
  // Before each `fresh` step the clipboard is made to disagree with Paste: the
  // step brings Paste up to date only if it updates the enabled items.
  void StepsOfTheCommands() {
    const QString a = WriteBmp(File("a.bmp"), TestPicture(30, 20, 1));
    const QString b = WriteBmp(File("b.bmp"), TestPicture(24, 26, 2));
    const QString named = "Trelvanique 1.1 NoName.mesh | ";
    const QString m2 = "Trelvanique 1.1 m2.mesh | ";
    const QString two = "a.bmp+ 0,0 269x305, b.bmp+* 269,0 269x305 | ";
    const QString three = m2 + "a.bmp+ 0,0 269x305, b.bmp+ 269,0 269x305, Trelvanique* 0,0 238x159 | ";
    const QString node = "(   9:  11) | ";
    const QString icon = m2 + "a.bmp%1 0,0 179x305, b.bmp%1* 0,281 196x24, Trelvanique 358,0 180x305 | ";
    const struct {
      const char* step;
      std::function<void()> act;
      bool fresh;
      QString seen;
    } rows[] = {
        {"open first", [&] { dialogs_.open_answers = {QStringList{a}}; Click("OpenFirstButton"); },
         true, named + "a.bmp* 0,0 538x305 | (0:0) | on"},
        {"open second", [&] { OpenImage(*form_, dialogs_, "OpenSecond", b); }, true,
         named + "a.bmp 0,0 269x305, b.bmp* 269,0 269x305 | (0:0) | off"},
        {"place a node", [&] { ClickAt(1, {5, 17}); Drag(2, {5, 17}, {8, 12}, {9, 11}); }, true,
         named + two + node + "on"},
        {"save mesh", [&] { Key(Qt::CTRL | Qt::Key_S); }, true, named + two + node + "off"},
        {"save mesh as", [&] { Save("m2"); Run("SaveMashAs"); }, true, m2 + two + node + "on"},
        {"colorize, each frame painted as it comes",
         [&] {
           Save(std::nullopt);
           PaintCounter frames(form_.get());  // paints of the Vesk picture, seen by the application
           qApp->installEventFilter(&frames);
           Click("BitBtn1");
           QVERIFY(frames.count >= 13);  // the first, 11 blends and the second
         },
         true, three + node + "off"},
        {"copy", [&] { Key(Qt::CTRL | Qt::Key_C); }, true, three + node + "on"},
        {"paste", [&] { Key(Qt::CTRL | Qt::Key_V); }, false, three + node + "on"},
        {"save the Vesk image", [&] { Save("v"); Run("SaveVeskImageAs"); }, true, three + node + "off"},
        {"swap", [&] { Key(Qt::CTRL | Qt::Key_W); }, false, three + node + "off"},
        {"undo", [&] { Key(Qt::CTRL | Qt::Key_Z); }, true, three + node + "on"},
        {"triangulate", [&] { Run("TriangulateNodes"); }, true, three + node + "off"},
        {"cascade", [&] { Run("Cascade1"); }, false,
         m2 + "a.bmp+ 0,0 120x96, b.bmp+ 10,21 120x96, Trelvanique* 20,42 120x96 | " + node + "off"},
        {"tile", [&] { Run("Tile1"); }, false,
         m2 + "a.bmp+ 0,0 179x305, b.bmp+ 179,0 179x305, Trelvanique* 358,0 180x305 | " + node + "off"},
        {"close box minimizes, arrange icons",
         [&] { form_->SecondChild()->close(); Run("ArrangeIcons1"); }, false, icon.arg("+") + node + "off"},
        {"new mesh", [&] { Key(Qt::CTRL | Qt::Key_N); }, true, icon.arg("") + node + "on"},
        {"open mesh", [&] { dialogs_.open_answers = {QStringList{"m2.mesh"}}; Click("OpenMeshButton"); },
         true, m2 + "Trelvanique 0,0 179x305, a.bmp+ 179,0 179x305, b.bmp+* 358,0 180x305 | " + node + "off"},
    };
    for (const auto& row : rows) {
      const bool paste = Item(*form_, "Paste")->isEnabled();
      if (row.fresh && paste) QApplication::clipboard()->clear();
      if (row.fresh && !paste) QApplication::clipboard()->setImage(QImage(2, 2, QImage::Format_RGB32));
      row.act();
      QVERIFY2(Shows() == row.seen && !dialogs_.unexpected, qPrintable(row.step + (": " + Shows())));
    }
    // The Window menu lists the image windows, the active one checked.
    QMenu* window_menu = NamedChild<QMenu>(*form_, "Window1");
    emit window_menu->aboutToShow();
    QStringList listed;
    for (QAction* item : window_menu->actions().mid(4)) listed << item->text() + (item->isChecked() ? "*" : "");
    QCOMPARE(listed, QStringList({"&1 Trelvanique", "&2 a.bmp", "&3 b.bmp*"}));
  }
  // Names from the command line or dropped on the window, one call per "; ".
  void FilesNamedOrDroppedOpenTheirWindows() {
    const struct {
      const char* calls;
      bool dropped;
      QString seen;  // first and second image window, messages
    } rows[] = {
        {"", false, "- -"}, {"a.bmp", false, "a.bmp -"}, {"a.bmp; b.bmp", true, "a.bmp b.bmp"},
        {"b.bmp a.bmp c.bmp", false, "b.bmp a.bmp"}, {"m.mesh", false, "b.bmp a.bmp"},
        {"gone.bmp b.bmp", true, "b.bmp - gone.bmp file already not exist"},
    };
    for (const auto& row : rows) {
      RestartWindow();
      for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) WriteBmp(File(name), TestPicture(8, 6, 1));
      QVERIFY(WriteMeshFile(File("m.mesh").toStdString(), Mesh(), "b.bmp", "a.bmp").Ok());
      for (const QString& call : QString(row.calls).split("; ")) {
        const QStringList files = call.split(' ', Qt::SkipEmptyParts);
        if (!row.dropped) form_->OpenFiles(files);
        QMimeData data;
        for (const QString& f : files) data.setUrls(data.urls() << QUrl::fromLocalFile(File(f)));
        QDragEnterEvent enter(QPoint(9, 9), Qt::CopyAction, &data, Qt::LeftButton, {});
        QDropEvent drop(QPointF(9, 9), Qt::CopyAction, &data, Qt::LeftButton, {});
        if (row.dropped) QApplication::sendEvent(form_.get(), &enter);
        if (row.dropped) QApplication::sendEvent(form_.get(), &drop);
      }
      QStringList seen;
      for (TChildForm* w : {form_->FirstChild(), form_->SecondChild()}) seen << (w ? w->windowTitle() : "-");
      for (const auto& m : dialogs_.messages) seen << QFileInfo(m.text).fileName();
      QCOMPARE(seen.join(' '), row.seen);
    }
  }
  // Index shows the first help file found: as named, in the folder the
  // program started in, or the one built in; twice pressed, one window.
  void HelpWindowShowsTheHelpFileFound() {
    QTemporaryDir start;
    RememberHelpFolder(start.filePath("Zelph.hlp"));
    const QString large = "Trelvanique: The help file ./Zelph.hlp is too large.";
    const QString shown = "HelpWindow 560x480 \"Trelvanique Help\" | HelpBrowser 0,0 560x480 | ";
    const struct {
      const char* here;   // ./Zelph.hlp: a file, a folder or none
      const char* start;  // Zelph.hlp where the program started, or none
      QString seen;       // the help's first line or the message
    } rows[] = {
        {"<p>here</p>", "<p>start</p>", shown + "here"}, {nullptr, "<p>start</p>", shown + "start"},
        {"/", "<p>start</p>", shown + "start"}, {nullptr, nullptr, shown + "Vesk Trelvanique 1.1"},
        {"large", nullptr, large + " | " + large},
    };
    for (const auto& row : rows) {
      RestartWindow();
      QFile::remove(start.filePath("Zelph.hlp"));
      if (row.start) WriteBytes(start.filePath("Zelph.hlp"), row.start);
      if (row.here && *row.here == '/') QDir().mkdir("Zelph.hlp");
      if (row.here && *row.here == '<') WriteBytes(File("Zelph.hlp"), row.here);
      QFile large_file(File("Zelph.hlp"));
      if (row.here && *row.here == 'l') QVERIFY(large_file.open(QIODevice::WriteOnly) && large_file.resize(17 << 20));
      for (int press = 0; press < 2; ++press) Key(Qt::Key_F1);
      QStringList seen = Shown();
      for (THelpWindow* help : form_->findChildren<THelpWindow*>()) {
        QVERIFY(QTest::qWaitForWindowActive(help, 1000));
        seen << Seen(*help, "HelpWindow 0x0 | HelpBrowser 0,0") << help->Browser()->toPlainText().section('\n', 0, 0);
      }
      QCOMPARE(seen.join(" | "), row.seen);
    }
    RememberHelpFolder(QString());
  }
  void AboutBoxRoughensItsPictureAndCloses() {
    bool closed = false;
    WhenModalOpens([&](QWidget* modal) {
      QTimer::singleShot(2000, modal, &QWidget::close);  // should a check fail
      QVERIFY(QTest::qWaitForWindowExposed(modal));
      const QStringList rows = {
          "AboutBox 298x221 10px centred \"About Trelvanique\"", "Panel1 8,8 281x161",
          "ProgramIcon 8,8 auto picture", "ProductName 88,16 185x16 \"Product Name: Vesk Trelvanique\"",
          "Version 88,40 185x16 \"Version: 1.1\"",
          "Comments 8,96 265x16 \"Morphs and effects, made by its team\" [Click Here]",
          "Label1 8,120 265x16 \"See README.md for how to reach us\" [Click Here]",
          "OKButton 111,180 75x25 \"&OK\" default",
      };
      QCOMPARE(Seen(*modal, rows), rows);
      auto* box = qobject_cast<TAboutBox*>(modal);
      const QImage drawn(VESK_SOURCE_DIR "/tests/data/program_picture.png");
      QCOMPARE(ToQImage(box->Picture()), drawn.convertToFormat(QImage::Format_RGB32));
      auto* icon = NamedChild<QLabel>(*modal, "ProgramIcon");
      PaintCounter paints(icon);
      for (const char* clicked : {"ProductName", "Comments", "Label1"}) {
        const QImage before = icon->pixmap().toImage();
        QCoreApplication::processEvents();
        paints.count = 0;
        QTest::mouseClick(NamedChild<QLabel>(*modal, clicked), Qt::LeftButton);
        // A contact line roughens the picture, shown and painted at once.
        const bool rough = *clicked != 'P';
        QVERIFY(ToQImage(box->Picture()) == icon->pixmap().toImage() && paints.count == int(rough));
        QCOMPARE(icon->pixmap().toImage() != before, rough);
      }
      QTest::mouseClick(NamedChild<QPushButton>(*modal, "OKButton"), Qt::LeftButton);
      closed = !modal->isVisible();
    });
    Item(*form_, "About")->trigger();
    QVERIFY(closed && form_->findChildren<TAboutBox*>().isEmpty());
  }
  void PrintingReachesThePrinter() {
    OpenBoth(8, 6);
    dialogs_.save_answers = {std::nullopt};
    Item(*form_, "Colorize1")->trigger();
    dialogs_.print_file = File("page.pdf");
    Run("PrinterSetup1");  // no printer installed here
    QCOMPARE(Shown(), QStringList("Trelvanique: There is no printer to set up"));
    dialogs_.printer_answers = {false, true};  // cancelled, then printed
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
        {"\xe9t\xe9.bmp", 2}, {"\x80\xff", 2}, {"a\xe2\x82", 2}, {"\xf8\x88\x80\x80\x80", 5},
    };
    for (const auto& [bytes, escaped] : rows) {
      const QString name = FileNameFromBytes(bytes);
      int escapes = 0;
      for (QChar c : name) escapes += c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF;
      QVERIFY2(escapes == escaped && FileNameBytes(name) == bytes, bytes);
      QVERIFY2(escaped || name == QString::fromUtf8(bytes), bytes);
    }
  }
};

QTEST_MAIN(MainWindowViewTest)
#include "main_window_view_test.moc"
