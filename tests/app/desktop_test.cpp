// The desktop: enabled commands, the close query, every shortcut in every
// window, and the details of texts, dialogs and errors.
#include <QElapsedTimer>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>

#include "app/glyphs.h"
#include "app/int_edit.h"
#include "app/kancel_form.h"
#include "app1_support.h"

class DesktopTest : public QObject, WindowFixture {
  Q_OBJECT

 private slots:
  void init() { StartWindow(); }
  void cleanup() { StopWindow(); }
  void CommandState() {
    const QString one =
        "SheetGlass FlagStreaming1 SheetGlassButton FlagButton Copy Tile1 Cascade1 "
        "ArrangeIcons1 ZoomIn1 ZoomOut1 FitWindow1 ActualPixels1 ";
    const QString vesk =
        "Colorize1 Distorsion1 Ombrix1 BitBtn1 DistorsionButton MorphButton "
        "PrintVeskImage1 SaveVeskImageAs CopyVesk2First CopyVesk2Second "
        "CopyF2PButton CopyS2PButton NewGridMesh AutoMesh";
    const QString rows[][2] = {{"nothing open", ""},
                               {"second", one},
                               {"first node", one + "SwapMorphMesh SwapButton TriangulateNodes"},
                               {"first second vesk", one + vesk}};
    for (const auto& row : rows) {
      RestartWindow();
      const QString picture = WriteBmp(File("a.bmp"), TestPicture(20, 10, 1));
      if (row[0].contains("first")) OpenImage(*form_, dialogs_, "OpenFirst", picture);
      if (row[0].contains("second")) OpenImage(*form_, dialogs_, "OpenSecond", picture);
      if (row[0].contains("node")) ClickAt(1, QPoint(5, 5));
      dialogs_.save_answers.push_back(std::nullopt);  // no frame list
      if (row[0].contains("vesk")) Run("Colorize1");
      for (const QString& name :
           QString(one + vesk + " Paste SwapMorphMesh TriangulateNodes").split(' ')) {
        const bool on = form_->findChild<QObject*>(name)->property("enabled").toBool();
        QVERIFY2(on == row[1].split(' ').contains(name), qPrintable(row[0] + ": " + name));
      }
    }
  }
  // The frame count and the precision on the tool panel: arrows, keys and typing
  // reach the settings, within 1..100 and 1..1000 (the precision's arrows 1..200).
  void PanelEditsReachTheSettings() {
    const auto arrow = [&](const char* name, int direction) {
      TUpDown* arrows = NamedChild<TUpDown>(*form_, name);
      (direction > 0 ? arrows->UpButton() : arrows->DownButton())->click();
    };
    const auto key = [&](const char* edit, Qt::Key key, int times) {
      for (int n = 0; n < times; ++n) QTest::keyClick(Edit(*form_, edit), key);
    };
    const auto type = [&](const char* edit, const char* text) {
      Edit(*form_, edit)->selectAll();
      QTest::keyClicks(Edit(*form_, edit), text);
    };
    const std::pair<std::function<void()>, const char*> rows[] = {
        {[&] { arrow("UpDownMaxStep", +1); }, "13 13 1 1"},
        {[&] { key("MaxStepButton", Qt::Key_Down, 2); }, "11 11 1 1"},
        {[&] { arrow("UpDown1", +1); arrow("UpDown1", +1); }, "11 11 3 3"},
        {[&] { key("Edit2", Qt::Key_Up, 1); }, "11 11 4 4"},
        {[&] { arrow("UpDown1", -1); }, "11 11 3 3"},
        {[&] { type("MaxStepButton", "100"); arrow("UpDownMaxStep", +1); }, "100 100 3 3"},
        {[&] { type("Edit2", "1000"); }, "100 100 1000 1000"},
        {[&] { arrow("UpDown1", +1); }, "100 100 200 200"},
        {[&] { type("MaxStepButton", "0"); }, "100 100 200 200"},  // the number put back
        {[&] { arrow("UpDownMaxStep", -1); }, "99 99 200 200"},
    };
    for (const auto& [act, seen] : rows) {
      act();
      const Settings& s = form_->CurrentSettings();
      QCOMPARE(QString("%1 %2 %3 %4").arg(Edit(*form_, "MaxStepButton")->text()).arg(s.FrameCount)
                   .arg(Edit(*form_, "Edit2")->text()).arg(s.Precision),
               QString(seen));
    }
  }
  // Exit on an edited mesh: No closes without saving, Cancel stays; an unchanged
  // mesh asks nothing (in the mesh tests).
  void CloseQuery() {
    for (const Answer answer : {Answer::Cancel, Answer::No}) {
      RestartWindow();
      OpenImage(*form_, dialogs_, "OpenFirst", WriteBmp(File("a.bmp"), TestPicture(9, 9, 1)));
      ClickAt(1, QPoint(4, 4));
      dialogs_.confirm_answers.push_back(answer);
      Click(*form_, "ExitButton");
      const bool closes = answer == Answer::No;
      QVERIFY(form_->isVisible() == !closes && dialogs_.confirmations.size() == 1);
      QVERIFY(!QFile::exists(File("NoName.mesh")));
      // The settings are written at the close, not when it is refused.
      QCOMPARE(QFile(File("Trelvanique.ini")).size(), closes ? qint64{53} : qint64{0});
    }
  }
  void EveryShortcutRunsItsCommandInEveryWindow() {
    // Commands that change the windows or the mesh come last.
    const std::pair<QKeySequence, const char*> rows[] = {
        {Qt::CTRL | Qt::Key_C, "Copy"},           {Qt::CTRL | Qt::Key_V, "Paste"},
        {Qt::CTRL | Qt::Key_W, "SwapMorphMesh"},  {Qt::CTRL | Qt::Key_P, "PrintVeskImage1"},
        {Qt::CTRL | Qt::Key_S, "Savemesh"},       {Qt::Key_F1, "Index"},
        {Qt::CTRL | Qt::Key_G, "SheetGlass"},     {Qt::CTRL | Qt::Key_L, "Colorize1"},
        {Qt::CTRL | Qt::Key_F, "FlagStreaming1"}, {Qt::CTRL | Qt::Key_D, "Distorsion1"},
        {Qt::CTRL | Qt::Key_M, "Ombrix1"},        {Qt::CTRL | Qt::Key_N, "NewMesh"},
        {Qt::CTRL | Qt::Key_X, "Exit1"}};
    for (const QString situation : {"first image", "Vesk image", "none"}) {
      RestartWindow();
      OpenBoth(16, 12);
      ClickAt(1, QPoint(5, 5));
      form_->SheetGlassClick();
      QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
      form_->UpdateCommandState();
      for (const auto& [key, item] : rows) {
        // The mesh stays unsaved: New and Exit ask, and no answer keeps it.
        if (form_->MeshSaved) Run("SwapMorphMesh");
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        form_->MdiArea()->setActiveSubWindow(situation == "first image" ? form_->FirstChild()
                                             : situation == "Vesk image" ? form_->VeskChild()
                                                                         : nullptr);
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form_.get();
        QSignalSpy ran(Item(*form_, item), &QAction::triggered);
        QTest::keySequence(target, key);
        QVERIFY2(ran.count() == 1, qPrintable(situation + ": " + item));
      }
    }
  }
  // The buttons' glyphs side by side, against the strip in tests/data.
  void ToolButtonGlyphsAreTheDrawnOnes() {
    QImage strip(15 * kGlyphSize, kGlyphSize, QImage::Format_RGB32);
    strip.fill(Qt::lightGray);
    QPainter painter(&strip);
    for (int g = 0; g <= int(Glyph::OpenSecond); ++g) {
      painter.drawPixmap(g * kGlyphSize, 0, GlyphPixmap(Glyph(g)));
    }
    painter.end();
    QCOMPARE(strip,
             QImage(VESK_SOURCE_DIR "/tests/data/glyphs.png").convertToFormat(strip.format()));
  }
  // The theme icons as built: the mesh opaque, the background transparent, at every size.
  void IconsAreTransparentAroundTheMesh() {
    for (int size : {48, 64, 128, 256}) {
      const QImage icon(QString(VESK_BUILD_DIR "/app/icons/%1x%1/apps/vesk.png").arg(size));
      QCOMPARE(icon.size(), QSize(size, size));
      QCOMPARE(qAlpha(icon.pixel(0, 0)) + qAlpha(icon.pixel(size - 1, size / 2)), 0);
      QCOMPARE(qAlpha(icon.pixel(size / 2, size / 2)), 255);
    }
  }
  void ErrorsEscapingACommandAreReported() {
    dialogs_.open_throws = true;
    Run("OpenFirst");  // from a menu item and from a tool button
    Click(*form_, "OpenFirstButton");
    QCOMPARE(Shown(), QStringList(2, "Trelvanique: Out of memory."));
    QVERIFY(form_->isVisible() && form_->isEnabled());
  }
  void ProgressWindowProcessesMessagesByTimeAlone() {
    QWidget main_window;
    KancelRun run(form_->KancelForm(), main_window, nullptr, nullptr);
    run.Begin();
    run.ProcessMessages();  // the first call after the start processes
    QElapsedTimer since;
    since.start();
    QMetaObject::invokeMethod(form_->KancelForm().KancelButton(), &QPushButton::click,
                              Qt::QueuedConnection);
    run.ProcessMessages();
    if (since.elapsed() < 10) QVERIFY(!run.CancelRequested());  // within the interval
    QTest::qSleep(20);
    run.ProcessMessages();  // one call, once the interval has passed
    QVERIFY(run.CancelRequested());
  }
};

QTEST_MAIN(DesktopTest)
#include "desktop_test.moc"
