// What a new user meets on the desktop: the tool panel's texts fit, a paste
// past the size limit is refused, printer setup without a printer, the file
// dialogs' filters and default extensions, errors escaping a command, the
// progress window's message processing, side mouse buttons, the AVI
// creator's list and layout, picture names that are not UTF-8.
#include <QClipboard>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cstdio>
#include <functional>
#include <memory>
#include <new>

#include "app/avi_creator.h"
#include "app/child_form.h"
#include "app/file_name_bytes.h"
#include "app/kancel_form.h"
#include "app/main_window.h"
#include "app/picture_box.h"
#include "core/image/bmp_codec.h"
#include "core/mesh/mesh_file.h"
#include "support/scripted_dialogs.h"

using namespace vesk;

namespace {

// Scripted dialogs whose open dialogs can fail with an exception, as an
// allocation would; errors are kept apart from plain notices.
class ThrowingDialogs : public ScriptedDialogs {
 public:
  QStringList errors;
  bool open_throws = false;
  void Error(QWidget*, const QString& caption, const QString& text) override {
    errors << caption + ": " + text;
  }

 protected:
  std::optional<QStringList> AskOpen(QWidget* parent, const QString& title, const QString& filter,
                                     bool many) override {
    if (open_throws) throw std::bad_alloc();
    return ScriptedDialogs::AskOpen(parent, title, filter, many);
  }
};

QStringList warnings;
void KeepWarnings(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type != QtDebugMsg && type != QtInfoMsg) warnings << text;
}

// Runs `act` on the modal dialog that `open` shows.
void OnModal(const std::function<void()>& open, const std::function<void(QWidget*)>& act) {
  QTimer::singleShot(0, [act] {
    QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
    act(QApplication::activeModalWidget());
  });
  open();
}

}  // namespace

class DesktopDetailsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<TMDIForm> form_;
  ThrowingDialogs dialogs_;

  QString Bmp(const QString& name, const Bitmap& b) {
    const QString path = dir_->filePath(name);
    if (!SaveBmpFile(path.toStdString(), b).Ok()) qFatal("cannot write %s", qPrintable(path));
    return path;
  }
  QAction* Item(const char* name) { return form_->findChild<QAction*>(name); }
  template <typename W>
  W* Child(QObject& parent, const char* name) {
    W* w = parent.findChild<W*>(name);
    if (!w) qFatal("no %s", name);
    return w;
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QDir::setCurrent(dir_->path());
    dialogs_ = ThrowingDialogs();
    TMDIForm::Options options;
    options.show_about_box = false;
    form_ = std::make_unique<TMDIForm>(dialogs_, options);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    dialogs_.messages.clear();
  }
  void cleanup() {
    form_.reset();
    QDir::setCurrent(QDir::tempPath());
    dir_.reset();
  }

  void ToolPanelTextsFitTheirRoom() {
    form_->ShowCoords(9999, 9999);
    const struct { const char* label; const char* next; } rows[] = {
        {"Label1", "Label2"}, {"Label2", "MaxStepButton"}, {"Label3", "Edit2"}};
    for (const auto& row : rows) {
      auto* label = Child<QLabel>(*form_, row.label);
      QWidget* next = Child<QWidget>(*form_, row.next);
      const int room = next->x() - label->x();
      const int text = QFontMetrics(label->font()).horizontalAdvance(label->text());
      QVERIFY2(text <= room && label->geometry().right() < next->x(),
               qPrintable(QString("%1 \"%2\": %3 > %4").arg(row.label, label->text())
                              .arg(text).arg(room)));
    }
  }

  void PastePastTheSizeLimitLeavesTheWindow() {
    dialogs_.open_answers.push_back(QStringList{Bmp("first.bmp", Bitmap(4, 3, 0x0000FF))});
    form_->OpenFirstClick();
    QImage huge(32769, 1, QImage::Format_RGB32);
    huge.fill(Qt::green);
    QGuiApplication::clipboard()->setImage(huge);
    form_->UpdateCommandState();
    form_->MdiArea()->setActiveSubWindow(form_->FirstChild());
    Item("Paste")->trigger();
    QCOMPARE(dialogs_.errors, QStringList{"Trelvanique: " +
                                          QString::fromStdString(CheckBitmapSize(32769, 1)) + "."});
    QVERIFY(form_->FirstChild()->GetBitmap() == Bitmap(4, 3, 0x0000FF));
    QCOMPARE(form_->FirstChild()->Image1()->Picture().size(), QSize(4, 3));
  }

  void PrinterSetupWithoutAPrinter() {
    if (!QPrinterInfo::availablePrinterNames().isEmpty()) QSKIP("a printer is installed");
    warnings.clear();
    QtMessageHandler previous = qInstallMessageHandler(KeepWarnings);
    Item("PrinterSetup1")->trigger();
    qInstallMessageHandler(previous);
    QCOMPARE(dialogs_.messages.size(), std::size_t{1});
    QCOMPARE(dialogs_.messages[0].text, QString("There is no printer to set up"));
    QCOMPARE(warnings, QStringList());
  }

  void FileDialogsShowFiltersOnceAndAddTheExtension() {
    Bmp("f3.bmp", Bitmap(2, 2, kWhite));
    QtUserDialogs real;
    TAniToolForm creator(real, QString());
    creator.show();
    QStringList filters;
    QString suffix;
    // Typing "f3" in the Add Bitmap dialog picks f3.bmp.
    OnModal([&] { QTest::mouseClick(Child<QToolButton>(creator, "SpeedButton4"), Qt::LeftButton); },
            [&](QWidget* modal) {
              auto* dialog = qobject_cast<QFileDialog*>(modal);
              QVERIFY(dialog);
              filters = dialog->nameFilters();
              suffix = dialog->defaultSuffix();
              dialog->findChild<QLineEdit*>("fileNameEdit")->setText("f3");
              static_cast<QDialog*>(dialog)->accept();  // as the Open button does
            });
    QCOMPARE(filters, (QStringList{"Bitmaps (*.bmp)", "Icons (*.ico)"}));
    QCOMPARE(suffix, QString("bmp"));
    QCOMPARE(creator.EntryCount(), 1);
    QCOMPARE(QFileInfo(creator.EntryName(0)).fileName(), QString("f3.bmp"));
    OnModal([&] { QTest::mouseClick(Child<QToolButton>(creator, "SpeedButton1"), Qt::LeftButton); },
            [&](QWidget* modal) {
              filters = qobject_cast<QFileDialog*>(modal)->nameFilters();
              qobject_cast<QFileDialog*>(modal)->reject();
            });
    QCOMPARE(filters, QStringList{"AVI-Files (*.avi)"});
  }

  void ErrorsEscapingACommandAreReported() {
    const struct { const char* name; std::function<void()> run; } rows[] = {
        {"menu item", [&] { Item("OpenFirst")->trigger(); }},
        {"tool button",
         [&] { QTest::mouseClick(Child<QToolButton>(*form_, "OpenFirstButton"), Qt::LeftButton); }},
        {"open mesh", [&] { Item("OpenMesh")->trigger(); }},
    };
    dialogs_.open_throws = true;
    for (const auto& row : rows) {
      dialogs_.errors.clear();
      row.run();
      QVERIFY2(dialogs_.errors == QStringList{"Trelvanique: Out of memory."}, row.name);
      QVERIFY(form_->isVisible() && form_->isEnabled());
    }
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
    run.End();
    QVERIFY(main_window.isEnabled());
  }

  void SideMouseButtonsDoNothingOnAnImage() {
    dialogs_.open_answers.push_back(QStringList{Bmp("first.bmp", Bitmap(30, 30, kWhite))});
    form_->OpenFirstClick();
    const struct { Qt::MouseButton button; std::size_t nodes; } rows[] = {
        {Qt::BackButton, 0}, {Qt::ForwardButton, 0}, {Qt::LeftButton, 1}};
    for (const auto& row : rows) {
      QTest::mouseClick(form_->FirstChild()->Image1(), row.button, {}, QPoint(15, 15));
      QCOMPARE(form_->MeshModel().NodeCount(), row.nodes);
    }
  }

  void AviCreatorLoadsItsListOnceAndLaysOut() {
    Bmp("imag1.bmp", Bitmap(8, 8, kWhite));
    Bmp("imag2.bmp", Bitmap(8, 8, 0x00FF00));
    QFile list(dir_->filePath("frames.any"));
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write("imag1.bmp\r\nimag2.bmp\r\n");
    list.close();
    ScriptedDialogs dialogs;
    TAniToolForm creator(dialogs, list.fileName());
    for (int shown = 0; shown < 2; ++shown) {  // shown, hidden, shown and activated again
      creator.show();
      creator.activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(&creator));
      QCOMPARE(creator.EntryCount(), 2);
      creator.hide();
    }
    creator.show();
    creator.resize(700, 500);
    QCOMPARE(Child<QListWidget>(creator, "BitmapListBox")->geometry(), QRect(0, 33, 321, 448));
    QCOMPARE(Child<TPictureBox>(creator, "BitmapImage")->geometry(), QRect(321, 33, 379, 448));
    QCOMPARE(Child<QStatusBar>(creator, "StatusBar1")->geometry(), QRect(0, 481, 700, 19));
  }

  void PictureNamesKeepTheirBytes() {
    const char* rows[] = {"a.bmp", "\xc3\xa9t\xc3\xa9.bmp", "\xe9t\xe9.bmp", "a\xe2\x82",
                          "\xc0\xaf", "\xed\xa0\x80", "\xf0\x9f\x98\x80"};
    for (const char* bytes : rows) QCOMPARE(FileNameBytes(FileNameFromBytes(bytes)), std::string(bytes));
    // A mesh naming a Latin-1 picture opens that picture and saves the name unchanged.
    const std::string latin1 = (dir_->path() + "/").toStdString() + "\xe9t\xe9.bmp";
    QVERIFY(SaveBmpFile(latin1, Bitmap(5, 4, 0x00FF00)).Ok());
    QVERIFY(WriteMeshFile("latin.mesh", Mesh(), latin1, "").Ok());
    dialogs_.open_answers.push_back(QStringList{dir_->filePath("latin.mesh")});
    Item("OpenMesh")->trigger();
    QVERIFY(form_->FirstChild() && form_->FirstChild()->GetBitmap() == Bitmap(5, 4, 0x00FF00));
    dialogs_.confirm_answers.push_back(Answer::Yes);  // overwrite latin.mesh
    Item("Savemesh")->trigger();
    Result<MeshFileContent> saved = ReadMeshFile("latin.mesh");
    QVERIFY(saved.Ok());
    QCOMPARE(saved.Value().first_file_name, latin1);
    std::remove(latin1.c_str());  // QTemporaryDir cannot name it
  }
};

QTEST_MAIN(DesktopDetailsTest)
#include "desktop_details_test.moc"
