// Draws the README's screenshot of the main window at its designed size:
// the example mesh opened with both pictures, the mouse at (57, 33) on the
// first one, and a morph of 6 frames at precision 2 in the Vesk window.
// Writes docs/screenshots/main_window.png, or the file named on the command
// line. Run it on the offscreen platform for the same picture everywhere.
#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <cstdio>
#include <utility>

#include "app/child_form.h"
#include "app/main_window.h"
#include "app/user_dialogs.h"

namespace {

// Answers the one file question with the example mesh, the questions it
// names with a cancel (the others, never asked here, are the real dialogs),
// and prints what would have been shown.
class ScriptDialogs : public vesk::QtUserDialogs {
 public:
  explicit ScriptDialogs(QString mesh) : mesh_(std::move(mesh)) {}
  void Message(QWidget*, const QString& caption, const QString& text) override {
    std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
  }
  void Error(QWidget* parent, const QString& caption, const QString& text) override {
    Message(parent, caption, text);
  }
  void Information(QWidget* parent, const QString& caption, const QString& text) override {
    Message(parent, caption, text);
  }
  vesk::Answer Confirm(QWidget*, const QString&, const QString&, bool) override {
    return vesk::Answer::No;
  }
  bool PrinterSetup(QWidget*, QPrinter&) override { return false; }
  bool PrintDialog(QWidget*, QPrinter&) override { return false; }
  std::optional<QList<int>> AskNumbers(QWidget*, const QString&, const QStringList&,
                                       const QList<int>&, int, int) override {
    return std::nullopt;
  }
  std::optional<vesk::VideoOptions> AskVideoOptions(QWidget*, const vesk::VideoOptions&) override {
    return std::nullopt;
  }
  std::optional<vesk::AutoMeshChoice> AskAutoMesh(QWidget*, const QStringList&,
                                                  const vesk::AutoMeshChoice&, int) override {
    return std::nullopt;
  }

 protected:
  std::optional<QStringList> AskOpen(QWidget*, const QString&, const QString&, bool) override {
    if (mesh_.isEmpty()) return std::nullopt;
    return QStringList{std::exchange(mesh_, QString())};
  }
  std::optional<QString> AskSave(QWidget*, const QString&, const QString&,
                                 const QString&) override {
    return std::nullopt;  // no frame list: the morph is only shown
  }

 private:
  QString mesh_;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const QString source = VESK_SOURCE_DIR;
  const QString out = argc > 1 ? QString(argv[1]) : source + "/docs/screenshots/main_window.png";
  QTemporaryDir work;  // the settings file of this run goes here
  for (const char* name : {"first.bmp", "second.bmp", "sample.mesh"}) {
    QFile::copy(source + "/examples/" + name, work.filePath(name));
  }
  QDir::setCurrent(work.path());
  ScriptDialogs dialogs(work.filePath("sample.mesh"));
  vesk::TMDIForm form(dialogs, vesk::TMDIForm::Options{false});
  form.show();
  form.OpenMeshClick();
  if (!form.FirstChild() || !form.SecondChild()) {
    std::fprintf(stderr, "vesk-screenshot: the example mesh did not open both pictures\n");
    return 1;
  }
  vesk::Settings settings = form.CurrentSettings();
  settings.FrameCount = 6;
  settings.Precision = 2;
  form.SetSettings(settings);
  form.Ombrix1Click();
  form.resize(538, 401);
  form.Tile1Click();
  // The coordinate label as a mouse move over the first image leaves it.
  QWidget* image = form.FirstChild()->Image1();
  QMouseEvent move(QEvent::MouseMove, QPointF(57, 33), image->mapToGlobal(QPointF(57, 33)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(image, &move);
  QApplication::processEvents();
  if (!form.grab().save(out)) {
    std::fprintf(stderr, "vesk-screenshot: cannot write %s\n", qPrintable(out));
    return 1;
  }
  std::printf("%s\n", qPrintable(out));
  return 0;
}
