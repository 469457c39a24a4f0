// The help index and the shipped help file.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include "app/help_window.h"
#include "support/scripted_dialogs.h"

using namespace vesk;

namespace {

QByteArray SourceHelp() {
  QFile f(QString(VESK_SOURCE_DIR) + "/app/Zelph.hlp");
  if (!f.open(QIODevice::ReadOnly)) return QByteArray();
  return f.readAll();
}

}  // namespace

class HelpWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void ShippedTextIsTheSourceHelpFile() {
    QVERIFY(!SourceHelp().isEmpty());
    QCOMPARE(ShippedHelpText(), SourceHelp());
  }

  // Index shows the start folder's own Zelph.hlp after a file dialog changed
  // the current folder, and the built-in copy when no folder holds one,
  // writing nothing into the start folder.
  void IndexFindsTheStartFolderHelpOrTheBuiltInCopy_data() {
    QTest::addColumn<bool>("own_help");
    QTest::addColumn<QString>("shown");
    QTest::newRow("own help in the start folder") << true << "my own help";
    QTest::newRow("no help file anywhere") << false << "Building the mesh with the mouse";
  }
  void IndexFindsTheStartFolderHelpOrTheBuiltInCopy() {
    QFETCH(bool, own_help);
    QFETCH(QString, shown);
    QTemporaryDir start, other;
    if (own_help) {
      QFile own(start.filePath("Zelph.hlp"));
      QVERIFY(own.open(QIODevice::WriteOnly));
      own.write("<p>my own help</p>");
    }
    const QString before = QDir::currentPath();
    QDir::setCurrent(start.path());
    RememberHelpFolder("./Zelph.hlp");
    QDir::setCurrent(other.path());  // as a file dialog does
    QWidget parent;
    ScriptedDialogs dialogs;
    ShowHelpIndex(&parent, dialogs, "./Zelph.hlp");
    QDir::setCurrent(before);
    QCOMPARE(dialogs.messages.size(), std::size_t{0});
    THelpWindow* window = parent.findChild<THelpWindow*>("HelpWindow");
    QVERIFY(window != nullptr);
    QVERIFY(window->Browser()->toPlainText().contains(shown));
    QCOMPARE(QFile::exists(start.filePath("Zelph.hlp")), own_help);
  }

  void OversizedHelpGivesAClearMessage() {
    QTemporaryDir dir;
    QWidget parent;
    ScriptedDialogs dialogs;
    const QString name = dir.filePath("Zelph.hlp");
    QFile huge(name);
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64{17} << 20));
    huge.close();
    ShowHelpIndex(&parent, dialogs, name);
    QCOMPARE(dialogs.messages.size(), std::size_t{1});
    QCOMPARE(dialogs.messages[0].caption, QString("Trelvanique"));
    QCOMPARE(dialogs.messages[0].text,
             "The help file " + QDir::toNativeSeparators(name) + " is too large.");
    QVERIFY(parent.findChild<THelpWindow*>() == nullptr);
  }

  void IndexShowsTheFileInOneHelpWindow() {
    const QString name = QString(VESK_SOURCE_DIR) + "/app/Zelph.hlp";
    QWidget parent;
    ScriptedDialogs dialogs;
    ShowHelpIndex(&parent, dialogs, name);
    ShowHelpIndex(&parent, dialogs, name);
    QCOMPARE(parent.findChildren<THelpWindow*>().size(), qsizetype{1});
    THelpWindow* window = parent.findChild<THelpWindow*>("HelpWindow");
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QString("Trelvanique Help"));
    QVERIFY(window->Browser()->toPlainText().contains("Building the mesh with the mouse"));
    window->close();  // deletes itself
    QTRY_VERIFY(parent.findChild<THelpWindow*>() == nullptr);
  }

  void HelpNamesEveryMenuCommand() {
    const QString text = QString::fromUtf8(SourceHelp());
    const char* captions[] = {
        "Open First image", "Open Second image", "New Morph Mesh", "Open Morph Mesh",
        "Save Morph Mesh", "Save Morph Mesh as..", "Save Vesk Image as..", "Print Vesk Image",
        "Printer Setup", "Exit", "Copy", "Paste", "Copy Vesk 2 First", "Copy Vesk 2 Second",
        "Swap Morph Mesh", "Sheet Glass", "Colorize", "FlagStreaming", "Distorsion", "Ombrix",
        "Animations...", "Options...", "Tile", "Cascade", "Arrange Icons", "Index", "About",
        // gestures, viewer and creator controls
        "Ctrl+left click", "Right click", "Ctrl+right click", "Shift+left click", "Drag a node",
        "Back &amp; Forth", "Create Avi", "Add bitmap", "Remove bitmap(s)", "Create AVI file",
        "Kancel", "Iteration", "Precision", "Equalize"};
    for (const char* caption : captions) {
      QVERIFY2(text.contains(caption), caption);
    }
  }

  void HelpGivesEveryShortcutWithItsCommand() {
    const QString text = QString::fromUtf8(SourceHelp());
    const char* entries[] = {
        "New Morph Mesh (Ctrl+N)", "Save Morph Mesh (Ctrl+S)", "Print Vesk Image (Ctrl+P)",
        "Exit (Ctrl+X)",           "Copy (Ctrl+C)",            "Paste (Ctrl+V)",
        "Swap Morph Mesh (Ctrl+W)", "Sheet Glass (Ctrl+G)",    "Colorize (Ctrl+L)",
        "FlagStreaming (Ctrl+F)",  "Distorsion (Ctrl+D)",      "Ombrix (Ctrl+M)",
        "Index</b> (F1)",          "Undo (Ctrl+Z)",            "Redo (Ctrl+Y, Ctrl+Shift+Z)",
        "Zoom In (Ctrl++",         "Zoom Out (Ctrl+-)",        "Fit Window (Ctrl+0)",
        "Actual Pixels (Ctrl+1)",  "Preview (Ctrl+R)"};
    for (const char* entry : entries) {
      QVERIFY2(text.contains(entry), entry);
    }
    // No other command heading offers a key combination.
    QCOMPARE(text.count(QRegularExpression("<dt>[^<]*\\(Ctrl\\+")), 17);
  }
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
