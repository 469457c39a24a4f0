// The platform's dialogs behind UserDialogs, each asked as the program asks
// it: what it shows when it opens, what it shows once its fields are filled,
// and what its buttons answer.
#include <QDialog>
#include <QPrinter>

#include "app1_support.h"
#include "core/mesh/auto_mesh.h"
#include "core/mesh/grid_mesh.h"
#include "support/view_checks.h"

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void EachDialogShowsItsRowsAndAnswersItsButtons() {
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    WriteBmp(dir.filePath("f3.bmp"), Bitmap(2, 2, kWhite));
    QtUserDialogs real;
    QWidget owner;
    QPrinter printer;
    const QString none = "none";
    const auto numbers = [&] {
      const auto a = real.AskNumbers(&owner, "New Grid Mesh", {"Columns:", "Rows:"}, {10, 12},
                                     kMinGridCount, kMaxGridCount);
      return a ? QString("%1 %2").arg(a->value(0)).arg(a->value(1)) : none;
    };
    const auto video = [&] {
      const auto a = real.AskVideoOptions(&owner, {12, 75, false});
      return a ? QString("%1 %2 %3").arg(a->fps).arg(a->quality).arg(a->lossless) : none;
    };
    const auto auto_mesh = [&] {
      const auto a = real.AskAutoMesh(&owner, {"Faces", "Flow", "Grid"}, {1, 0}, kMaxSpacing);
      return a ? QString("%1 %2").arg(a->method).arg(a->spacing) : none;
    };
    const auto file = [&](const std::optional<QString>& a) {
      return a ? QFileInfo(*a).fileName() : none;
    };
    const auto confirm = [&](bool with_cancel) {
      const Answer a =
          real.Confirm(&owner, "Confirm", "Do you want to save the mesh ?", with_cancel);
      return QString(a == Answer::Yes ? "Yes" : a == Answer::No ? "No" : "Cancel");
    };
    const auto typed = [](const char* name) {
      return [name](QWidget* dialog) {
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
      };
    };
    const QString grid = "New Grid Mesh | Columns: %1 2..100 | Rows: %2 2..100 | OK Cancel";
    const QString export_video =
        "Export Video | Frames a second: %1 1..100 | Quality: %2 0..100 [0 the smallest file, "
        "100 the best picture (full colour resolution)]%3 | Lossless (WebM only) %4 | OK Cancel";
    const QString methods =
        "Auto Mesh | Method: %1 of 3 | Spacing: %2 0..1000 [Distance between the matched points "
        "outside the face (flow, features); Automatic: a 30th of the first image's diagonal. Face "
        "points keep their own, finer spacing.] | OK Cancel";
    const struct {
      const char* name;
      std::function<QString()> ask;
      QVariantList fill;
      std::function<void(QWidget*)> type;  // into the dialog before the button
      const char* button;
      QString seen;  // as it opened; " => " as filled
      QString answer;
    } rows[] = {
        {"grid", numbers, {5, 7}, {}, "OK", grid.arg(10).arg(12) + " => " + grid.arg(5).arg(7),
         "5 7"},
        {"grid cancelled", numbers, {}, {}, "Cancel", grid.arg(10).arg(12), "none"},
        {"video", video, {25, 40}, {}, "OK",
         export_video.arg(12).arg(75).arg("", "up") + " => " +
             export_video.arg(25).arg(40).arg("", "up"),
         "25 40 0"},
        {"lossless video", video, {12, 75, true}, {}, "OK",
         export_video.arg(12).arg(75).arg("", "up") + " => " +
             export_video.arg(12).arg(75).arg(" off", "down"),
         "12 75 1"},
        {"video cancelled", video, {}, {}, "Cancel", export_video.arg(12).arg(75).arg("", "up"),
         "none"},
        {"auto mesh", auto_mesh, {2, 15}, {}, "OK",
         methods.arg("Flow", "Automatic") + " => " + methods.arg("Grid", "15 px"), "2 15"},
        {"auto mesh cancelled", auto_mesh, {}, {}, "Cancel", methods.arg("Flow", "Automatic"),
         "none"},
        {"message", [&] { real.Message(&owner, "Trelvanique", "File Not Found"); return ""; },
         {}, {}, "OK", "Trelvanique | no icon | File Not Found | OK", ""},
        {"information",
         [&] { real.Information(&owner, "Trelvanique", "There is no bitmap"); return ""; }, {}, {},
         "OK", "Trelvanique | information | There is no bitmap | OK", ""},
        {"error", [&] { real.Error(&owner, "Trelvanique", "Out of memory."); return ""; }, {}, {},
         "OK", "Trelvanique | critical | Out of memory. | OK", ""},
        {"yes or no", [&] { return confirm(false); }, {}, {}, "No",
         "Confirm | question | Do you want to save the mesh ? | Yes No", "No"},
        {"yes, no or cancel", [&] { return confirm(true); }, {}, {}, "Cancel",
         "Confirm | question | Do you want to save the mesh ? | Cancel Yes No", "Cancel"},
        {"yes", [&] { return confirm(true); }, {}, {}, "Yes",
         "Confirm | question | Do you want to save the mesh ? | Cancel Yes No", "Yes"},
        {"printer setup", [&] { return QString::number(real.PrinterSetup(&owner, printer)); },
         {}, {}, "Cancel", "Printer Setup | OK Cancel Options >>", "0"},
        {"print", [&] { return QString::number(real.PrintDialog(&owner, printer)); }, {}, {},
         "Cancel", "Print | Print Cancel Options >>", "0"},
        {"open, the extension added", [&] {
           const auto a =
               real.OpenFileNames(&owner, "Add Bitmap", "Bitmaps|*.bmp|Icons|*.ico", "bmp");
           return a ? QFileInfo(a->value(0)).fileName() + QString(" of %1").arg(a->size()) : none;
         }, {}, typed("f3"), "Open",
         "Add Bitmap | Bitmaps (*.bmp);;Icons (*.ico) | open | many | suffix bmp | Open off Cancel",
         "f3.bmp of 1"},
        {"open cancelled", [&] { return file(real.OpenFileName(&owner, "", "Bitmap|*.BMP")); }, {},
         {}, "Cancel", "Open | Bitmap (*.BMP) | open | one | suffix  | Open off Cancel", "none"},
        {"save, the extension added",
         [&] { return file(real.SaveFileName(&owner, "", "AVI-Files (*.avi)|*.avi", "", "avi")); },
         {}, typed("f3"), "Save",
         "Save As | AVI-Files (*.avi) | save | one | suffix avi | no overwrite question | "
         "Save off Cancel",
         "f3.avi"},
    };
    for (const auto& r : rows) {
      QString seen;
      WhenModalOpens([&](QWidget* dialog) {
        seen = DialogShows(*dialog);
        if (!r.fill.isEmpty()) {
          FillForm(*dialog, r.fill);
          seen += " => " + DialogShows(*dialog);
        }
        if (r.type) r.type(dialog);
        Press(*dialog, r.button);
        if (!dialog->isVisible()) return;
        seen += " => still open";
        qobject_cast<QDialog*>(dialog)->reject();
      });
      const QString answer = r.ask();
      QCOMPARE(seen, r.seen);
      QVERIFY2(answer == r.answer && !QApplication::activeModalWidget(), r.name);
    }
    QDir::setCurrent(QDir::tempPath());
  }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
