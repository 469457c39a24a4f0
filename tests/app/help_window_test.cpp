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

  void InstallWritesTheHelpFileWhenMissing() {
    QTemporaryDir dir;
    const QString name = dir.filePath("Zelph.hlp");
    QCOMPARE(InstallHelpFile(name), QFileInfo(name).absoluteFilePath());
    QFile written(name);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), SourceHelp());
  }

  void InstallKeepsAnExistingFile() {
    QTemporaryDir dir;
    const QString name = dir.filePath("Zelph.hlp");
    {
      QFile own(name);
      QVERIFY(own.open(QIODevice::WriteOnly));
      own.write("<p>my own help</p>");
    }
    InstallHelpFile(name);
    QFile kept(name);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("<p>my own help</p>"));
  }

  void InstalledPathIsAbsoluteSoAFolderChangeDoesNotLoseIt() {
    QTemporaryDir dir, other;
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const QString path = InstallHelpFile("./Zelph.hlp");
    QDir::setCurrent(other.path());
    QVERIFY(QFileInfo(path).isAbsolute());
    QVERIFY(QFile::exists(path));
    QWidget parent;
    ScriptedDialogs dialogs;
    ShowHelpIndex(&parent, dialogs, path);
    QDir::setCurrent(before);
    QCOMPARE(dialogs.messages.size(), std::size_t{0});
    QVERIFY(parent.findChild<THelpWindow*>("HelpWindow") != nullptr);
  }

  void RelativeNameIsFoundAfterTheFolderChanged() {
    QTemporaryDir start, other;
    const QString before = QDir::currentPath();
    QDir::setCurrent(start.path());
    InstallHelpFile("./Zelph.hlp");
    QDir::setCurrent(other.path());  // as a file dialog does
    QWidget parent;
    ScriptedDialogs dialogs;
    ShowHelpIndex(&parent, dialogs, "./Zelph.hlp");
    QDir::setCurrent(before);
    QCOMPARE(dialogs.messages.size(), std::size_t{0});
    QVERIFY(parent.findChild<THelpWindow*>("HelpWindow") != nullptr);
  }

  void MissingFileGivesAClearMessage() {
    QTemporaryDir dir;
    QWidget parent;
    ScriptedDialogs dialogs;
    const QString name = dir.filePath("Zelph.hlp");
    ShowHelpIndex(&parent, dialogs, name);
    QCOMPARE(dialogs.messages.size(), std::size_t{1});
    QCOMPARE(dialogs.messages[0].caption, QString("Trelvanique"));
    QCOMPARE(dialogs.messages[0].text,
             "The help file " + QDir::toNativeSeparators(name) + " cannot be opened.");
    QVERIFY(parent.findChild<THelpWindow*>() == nullptr);
  }

  void IndexShowsTheFileInOneHelpWindow() {
    QTemporaryDir dir;
    const QString name = InstallHelpFile(dir.filePath("Zelph.hlp"));
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
        "Preview (Ctrl+R)",        "Index</b> (F1)"};
    for (const char* entry : entries) {
      QVERIFY2(text.contains(entry), entry);
    }
    // No other command heading offers a key combination.
    QCOMPARE(text.count(QRegularExpression("<dt>[^<]*\\(Ctrl\\+")), 13);
  }
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
