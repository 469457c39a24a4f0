// Test pictures and frame lists as files, widgets by name, and a main window
// in a fresh current folder answered by scripted dialogs.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <functional>
#include <memory>

#include "app/child_form.h"
#include "app/main_window.h"
#include "app/mesh_undo.h"
#include "core/image/bmp_codec.h"
#include "core/mesh/mesh_overlay.h"
#include "support/scripted_dialogs.h"

namespace vesk::testing {

// A different colour at every pixel, so copies can be told from blends.
inline Bitmap TestPicture(int width, int height, int seed) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      b.SetPixel(x, y, MakeColor((x * 7 + seed * 31) & 255, (y * 5 + seed * 13) & 255, seed));
    }
  }
  return b;
}

inline QString WriteBmp(const QString& path, const Bitmap& b) {
  if (!SaveBmpFile(path.toStdString(), b)) qFatal("cannot write %s", qPrintable(path));
  return path;
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
    qFatal("cannot write %s", qPrintable(path));
}

// imag1.bmp .. imag<count>.bmp in `dir`, frame k made by `make_frame(k)`,
// and "frames.any" naming them; answers the list's path.
inline QString WriteFrameList(const QTemporaryDir& dir, int count,
                              const std::function<Bitmap(int)>& make_frame) {
  QByteArray list;
  for (int k = 1; k <= count; ++k) {
    WriteBmp(dir.filePath(QString("imag%1.bmp").arg(k)), make_frame(k));
    list += QString("imag%1.bmp\r\n").arg(k).toLatin1();
  }
  WriteBytes(dir.filePath("frames.any"), list);
  return dir.filePath("frames.any");
}

inline QStringList ListLines(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromLatin1(f.readAll()).split("\r\n", Qt::SkipEmptyParts);
}

// The child of type T named `name`; a missing one ends the test program.
template <typename T>
T* NamedChild(const QObject& parent, const char* name) {
  T* child = parent.findChild<T*>(name);
  if (child == nullptr) qFatal("no child %s", name);
  return child;
}
inline QAction* Item(QObject& f, const char* name) { return NamedChild<QAction>(f, name); }
inline QLineEdit* Edit(QObject& f, const char* name) { return NamedChild<QLineEdit>(f, name); }
inline void Click(QObject& in, const char* name) {
  QTest::mouseClick(NamedChild<QAbstractButton>(in, name), Qt::LeftButton);
}

// Runs `step` on the next modal dialog once it is open.
inline void WhenModalOpens(std::function<void(QWidget*)> step) {
  QTimer::singleShot(0, [step] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) qFatal("no modal dialog");
    step(modal);
  });
}

inline void OpenImage(TMDIForm& form, ScriptedDialogs& dialogs, const char* item,
                      const QString& path) {
  dialogs.open_answers.push_back(QStringList{path});
  Item(form, item)->trigger();
}

// StartWindow from init(), StopWindow from cleanup(); the start-up message
// (no settings file) and the clipboard are cleared.
class WindowFixture {
 protected:
  void StartWindow() {
    QApplication::clipboard()->clear();
    work_ = std::make_unique<QTemporaryDir>();
    QDir::setCurrent(work_->path());
    dialogs_ = ScriptedDialogs();
    form_ = std::make_unique<TMDIForm>(dialogs_, TMDIForm::Options{false});  // no About box
    form_->show();
    if (!QTest::qWaitForWindowExposed(form_.get())) qWarning("main window not exposed");
    dialogs_.messages.clear();
  }
  void StopWindow() {
    form_.reset();
    QDir::setCurrent(QDir::tempPath());
    work_.reset();
  }
  void RestartWindow() {
    StopWindow();
    StartWindow();
  }
  TChildForm* Window(int kind) const {
    return kind == 1 ? form_->FirstChild() : form_->SecondChild();
  }
  TImage* Image(int kind) const { return Window(kind)->Image1(); }
  void ClickAt(int kind, QPoint at, Qt::KeyboardModifiers keys = {},
               Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(Image(kind), button, keys, at);
  }
  void Drag(int kind, QPoint from, QPoint via, QPoint to) {
    QTest::mousePress(Image(kind), Qt::LeftButton, {}, from);
    QTest::mouseMove(Image(kind), via);
    QTest::mouseRelease(Image(kind), Qt::LeftButton, {}, to);
  }
  QString File(const QString& name) const { return work_->filePath(name); }
  void Run(const char* item) { Item(*form_, item)->trigger(); }
  void Key(QKeySequence key) {
    form_->activateWindow();  // a run's progress window had the focus
    if (!QTest::qWaitForWindowActive(form_.get())) qWarning("main window not active");
    QTest::keySequence(form_.get(), key);
  }
  void OpenBoth(int width, int height) {
    first_ = TestPicture(width, height, 1);
    second_ = TestPicture(width, height, 2);
    OpenImage(*form_, dialogs_, "OpenFirst", WriteBmp(File("first.bmp"), first_));
    OpenImage(*form_, dialogs_, "OpenSecond", WriteBmp(File("second.bmp"), second_));
  }
  // Both images and a 3 x 3 node grid whose middle node moves on the second image.
  void OpenBothWithGrid(int width, int height) {
    OpenBoth(width, height);
    Mesh& mesh = form_->MeshModel();
    TMeshNode* grid[3][3];
    for (int k = 0; k < 9; ++k) {
      grid[k / 3][k % 3] = mesh.AddNode(k % 3 * (width - 1) / 2, k / 3 * (height - 1) / 2);
    }
    Mesh::SetPosition(*grid[1][1], 2, width / 2 + width / 5, height / 2 - height / 6);
    for (int k = 0; k < 4; ++k) {
      const int i = k % 2, j = k / 2;
      mesh.PushTriangle(grid[j][i], grid[j][i + 1], grid[j + 1][i]);
      mesh.PushTriangle(grid[j][i + 1], grid[j + 1][i + 1], grid[j + 1][i]);
    }
    form_->UpdateCommandState();
  }
  // Without equalizing, which disables the progress window.
  void SetFrameCount(std::uint16_t frames) {
    Settings s = form_->CurrentSettings();
    s.FrameCount = frames;
    s.Equalize = 0;
    form_->SetSettings(s);
  }
  // The image windows at actual pixels that do not show the current mesh over
  // their picture (a change nobody redrew), by title; "" when all do.
  QString Stale() const {
    QStringList stale;
    for (TChildForm* w : {form_->FirstChild(), form_->SecondChild()}) {
      if (w && w->Image1()->Zoom() == 256 &&
          w->PictureBitmap() != vesk::DrawMesh(w->GetBitmap(), form_->MeshModel(), w->ImageKind,
                                               form_->CurrentSettings()))
        stale << w->windowTitle();
    }
    return stale.join(' ');
  }
  QStringList Shown() const {
    QStringList texts;
    for (const auto& m : dialogs_.messages) texts << m.caption + ": " + m.text;
    return texts;
  }
  std::unique_ptr<QTemporaryDir> work_;
  ScriptedDialogs dialogs_;
  std::unique_ptr<TMDIForm> form_;
  Bitmap first_, second_;
};

}  // namespace vesk::testing

using namespace vesk;
using namespace vesk::testing;
