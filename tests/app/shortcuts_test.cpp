// Every shortcut of the command table runs its command whichever window is
// active: an image window, the Vesk window or none. The image windows'
// own system menu must not take one of them (it bound Ctrl+W to Close).
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/child_form.h"
#include "app/main_window.h"
#include "core/image/bmp_codec.h"
#include "support/scripted_dialogs.h"

using namespace vesk;

class ShortcutsTest : public QObject {
  Q_OBJECT

 private slots:
  void EveryShortcutRunsItsCommandInEveryWindow() {
    // Commands that change the windows or the mesh come last.
    const struct { QKeySequence key; const char* item; } rows[] = {
        {Qt::CTRL | Qt::Key_C, "Copy"},          {Qt::CTRL | Qt::Key_V, "Paste"},
        {Qt::CTRL | Qt::Key_W, "SwapMorphMesh"}, {Qt::CTRL | Qt::Key_P, "PrintVeskImage1"},
        {Qt::CTRL | Qt::Key_S, "Savemesh"},      {Qt::Key_F1, "Index"},
        {Qt::CTRL | Qt::Key_G, "SheetGlass"},    {Qt::CTRL | Qt::Key_L, "Colorize1"},
        {Qt::CTRL | Qt::Key_F, "FlagStreaming1"}, {Qt::CTRL | Qt::Key_D, "Distorsion1"},
        {Qt::CTRL | Qt::Key_M, "Ombrix1"},       {Qt::CTRL | Qt::Key_N, "NewMesh"},
        {Qt::CTRL | Qt::Key_X, "Exit1"}};
    const char* situations[] = {"first image", "Vesk image", "none"};
    for (const char* situation : situations) {
      QTemporaryDir dir;
      QDir::setCurrent(dir.path());
      ScriptedDialogs dialogs;
      TMDIForm::Options options;
      options.show_about_box = false;
      TMDIForm form(dialogs, options);
      form.show();
      // A first and a second image, one node, a Vesk image, a clipboard picture.
      for (const char* name : {"first.bmp", "second.bmp"}) {
        QVERIFY(SaveBmpFile(dir.filePath(name).toStdString(), Bitmap(16, 12, kWhite)).Ok());
        dialogs.open_answers.push_back(QStringList{dir.filePath(name)});
      }
      form.OpenFirstClick();
      form.OpenSecondClick();
      QTest::mouseClick(form.FirstChild()->Image1(), Qt::LeftButton, {}, QPoint(5, 5));
      form.SheetGlassClick();
      QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
      form.UpdateCommandState();
      form.MeshSaved = false;  // Exit asks, and the scripted answer keeps the window

      for (const auto& row : rows) {
        auto* action = form.findChild<QAction*>(row.item);
        QVERIFY2(action->isEnabled(), row.item);
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        TChildForm* active = QString(situation) == "first image" ? form.FirstChild()
                             : QString(situation) == "Vesk image" ? form.VeskChild()
                                                                  : nullptr;
        form.MdiArea()->setActiveSubWindow(active);
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &form;
        QSignalSpy ran(action, &QAction::triggered);
        QTest::keySequence(target, row.key);
        QVERIFY2(ran.count() == 1, qPrintable(QString("%1 with %2 active: ran %3 times")
                                                  .arg(row.item, situation)
                                                  .arg(ran.count())));
      }
      QDir::setCurrent(QDir::tempPath());
    }
  }
};

QTEST_MAIN(ShortcutsTest)
#include "shortcuts_test.moc"
