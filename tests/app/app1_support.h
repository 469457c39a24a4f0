// Helpers shared by the main window's widget tests: a private temporary
// current folder per test, test pictures written as BMP files, and access
// to the main window's widgets by object name.
#pragma once

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <string>

#include "app/child_form.h"
#include "app/main_window.h"
#include "core/image/bitmap.h"
#include "core/image/bmp_codec.h"
#include "support/scripted_dialogs.h"

namespace vesk::testing {

// Makes a fresh temporary folder the current directory for the lifetime of
// the object and goes back afterwards.
class TempWorkDir {
 public:
  TempWorkDir() : previous_(QDir::currentPath()) {
    QDir::setCurrent(dir_.path());
  }
  ~TempWorkDir() { QDir::setCurrent(previous_); }
  QString Path() const { return dir_.path(); }
  QString File(const QString& name) const { return dir_.filePath(name); }

 private:
  QTemporaryDir dir_;
  QString previous_;
};

// A picture with a different colour at every pixel, so copies can be told
// from blends.
inline Bitmap TestPicture(int width, int height, int seed) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      b.SetPixel(x, y, MakeColor((x * 7 + seed * 31) & 255, (y * 5 + seed * 13) & 255,
                                 ((x + y) * 3 + seed) & 255));
  return b;
}

inline Bitmap Uniform(int width, int height, Color c) { return Bitmap(width, height, c); }

inline QString WriteBmp(const QString& path, const Bitmap& b) {
  Status s = SaveBmpFile(path.toStdString(), b);
  if (!s) qFatal("cannot write %s", qPrintable(path));
  return path;
}

inline QAction* Item(TMDIForm& form, const char* name) {
  auto* a = form.findChild<QAction*>(name);
  if (!a) qFatal("no menu item %s", name);
  return a;
}
inline QToolButton* Button(TMDIForm& form, const char* name) {
  auto* b = form.findChild<QToolButton*>(name);
  if (!b) qFatal("no button %s", name);
  return b;
}
inline QLabel* CoordLabel(TMDIForm& form) {
  return form.findChild<QLabel*>("Label1");
}
inline QLineEdit* Edit(TMDIForm& form, const char* name) {
  auto* e = form.findChild<QLineEdit*>(name);
  if (!e) qFatal("no edit %s", name);
  return e;
}

// A main window as the tests use it: no About box at start, dialogs
// answered by `dialogs`.
inline std::unique_ptr<TMDIForm> MakeMainWindow(ScriptedDialogs& dialogs, bool show = true) {
  TMDIForm::Options options;
  options.show_about_box = false;
  auto form = std::make_unique<TMDIForm>(dialogs, options);
  if (show) {
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get())) qWarning("main window not exposed");
  }
  return form;
}

// Opens an image file through the menu, answering the dialog with `path`.
inline void OpenImage(TMDIForm& form, ScriptedDialogs& dialogs, const char* item,
                      const QString& path) {
  dialogs.open_answers.push_back(QStringList{path});
  Item(form, item)->trigger();
}

// A main window in a fresh temporary current folder, made anew for every
// test: the test class derives from it and calls StartWindow from its init
// slot and StopWindow from its cleanup slot. Start-up's own messages (the
// missing settings file) are cleared.
class WindowFixture {
 protected:
  void StartWindow() {
    work_ = std::make_unique<TempWorkDir>();
    dialogs_ = ScriptedDialogs();
    form_ = MakeMainWindow(dialogs_);
    dialogs_.messages.clear();
  }
  void StopWindow() {
    form_.reset();
    work_.reset();
  }

  std::unique_ptr<TempWorkDir> work_;
  ScriptedDialogs dialogs_;
  std::unique_ptr<TMDIForm> form_;
};

}  // namespace vesk::testing
