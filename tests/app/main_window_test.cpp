// The main window: start-up, the tool panel and menu as designed, which
// commands are enabled in which state, the close query, the frame-count and
// precision controls and the window commands.
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>

#include "app/about_box.h"
#include "app/glyphs.h"
#include "app/help_window.h"
#include "app/int_edit.h"
#include "app1_support.h"
#include "core/settings/settings_file.h"

using namespace vesk;
using namespace vesk::testing;

class MainWindowTest : public QObject, WindowFixture {
  Q_OBJECT

 private slots:
  void init() {
    QApplication::clipboard()->clear();
    StartWindow();
  }
  void cleanup() { StopWindow(); }

  void StartUp() {
    QCOMPARE(form_->windowTitle(), QString("Trelvanique 1.1 NoName.mesh"));
    QCOMPARE(form_->size(), QSize(538, 401));
    form_->MeshModel().AddNode(1, 1);
    QTest::keyClick(form_.get(), Qt::Key_N, Qt::ControlModifier);  // the menu's shortcuts work
    QVERIFY(form_->MeshModel().Empty());
    Settings stored;
    stored.FrameCount = 20;
    stored.Precision = 7;
    QVERIFY(SaveSettings("Trelvanique.ini", stored).Ok());
    ScriptedDialogs dialogs;
    auto form_with_settings = MakeMainWindow(dialogs);
    TMDIForm& form = *form_with_settings;
    QVERIFY(dialogs.messages.empty());  // the settings file was found
    QCOMPARE(Edit(form, "MaxStepButton")->text() + " " + Edit(form, "Edit2")->text(),
             QString("20 7"));
    QCOMPARE(form.CurrentSettings(), stored);
  }

  void ToolPanelAsDesigned() {
    // Each button at its place (left, top) with its hint, showing its glyph
    // (in the order of Glyph) as designed: the glyph's pixels hashed.
    const char* const rows[][3] = {{"NewButton", "7 3", "New mesh"},
                                   {"OpenMeshButton", "34 3", "Open mesh"},
                                   {"SaveMeshButton", "62 3", "Save mesh"},
                                   {"CopyF2PButton", "104 3", "Copy Vesk 2 First"},
                                   {"CopyS2PButton", "131 3", "Copy Vesk 2 Second"},
                                   {"SwapButton", "159 3", "Swap nods"},
                                   {"SheetGlassButton", "201 3", "Sheet Glass"},
                                   {"BitBtn1", "228 3", "Colorize"},
                                   {"FlagButton", "256 3", "Flag Streaming"},
                                   {"DistorsionButton", "283 3", "Distorsion"},
                                   {"MorphButton", "311 3", "Morph"},
                                   {"AniBitBtn", "345 3", "Load frame list file"},
                                   {"ExitButton", "7 29", "Exit: close the program"},
                                   {"OpenFirstButton", "34 29", "Open first image"},
                                   {"OpenSecondButton", "62 29", "Open second image"}};
    const quint32 hashes[] = {0x4c0da413, 0xed6ba8ce, 0xdb4cce5d, 0xf541dba7, 0xfbc556ec,
                              0x8b208615, 0xc6f089fa, 0x5b5024a5, 0x0c250615, 0x9d14c575,
                              0x241866cc, 0x89669adb, 0xbe2a8615, 0x04fbc4aa, 0xb31afbbd};
    for (int g = 0; g < 15; ++g) {
      const QStringList place = QString(rows[g][1]).split(' ');
      const QRect designed(place[0].toInt(), place[1].toInt(), 25, 25);
      CheckControls(*form_, {{rows[g][0], designed, nullptr, rows[g][2]}});
      const QImage shown = Button(*form_, rows[g][0])->icon().pixmap(kGlyphSize).toImage();
      QVERIFY2(shown == GlyphPixmap(Glyph(g)).toImage(), rows[g][0]);
      quint32 hash = 2166136261u;  // FNV-1a
      for (int i = 0; i < kGlyphSize * kGlyphSize; ++i) {
        hash = (hash ^ shown.pixel(i % kGlyphSize, i / kGlyphSize)) * 16777619u;
      }
      QVERIFY2(hash == hashes[g], qPrintable(QString("%1 %2").arg(rows[g][0]).arg(hash, 0, 16)));
    }
    CheckControls(*form_, {{"Panel1", QRect(0, 0, form_->width(), 57)},
                           {"Label1", QRect(), "(0:0)", "Coords "},
                           {"MaxStepButton", QRect(209, 31, 22, 21), "12", "Number of frames"},
                           {"UpDown1", QRect(326, 31, 15, 21), nullptr, "Precision"}});
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Button(*form_, "NewButton")));
  }

  void CommandState() {
    const QString one =
        "SheetGlass FlagStreaming1 SheetGlassButton FlagButton Copy Tile1 Cascade1 "
        "ArrangeIcons1 ";
    const QString vesk =
        "Colorize1 Distorsion1 Ombrix1 BitBtn1 DistorsionButton MorphButton "
        "PrintVeskImage1 SaveVeskImageAs CopyVesk2First CopyVesk2Second "
        "CopyF2PButton CopyS2PButton";
    const QString rows[][2] = {{"nothing open", ""},
                               {"second", one},
                               {"first node", one + "SwapMorphMesh SwapButton"},
                               {"first second vesk", one + vesk}};
    for (const auto& row : rows) {
      StopWindow();
      init();
      const QString picture = WriteBmp(File("a.bmp"), TestPicture(20, 10, 1));
      if (row[0].contains("first")) OpenImage(*form_, dialogs_, "OpenFirst", picture);
      if (row[0].contains("second")) OpenImage(*form_, dialogs_, "OpenSecond", picture);
      TImage* image = form_->FirstChild() ? form_->FirstChild()->Image1() : nullptr;
      if (row[0].contains("node")) QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(5, 5));
      dialogs_.save_answers.push_back(std::nullopt);  // no frame list
      if (row[0].contains("vesk")) Item(*form_, "Colorize1")->trigger();
      for (const QString& name :
           QString(one + vesk + " Paste SwapMorphMesh SwapButton").split(' ')) {
        const bool on = form_->findChild<QObject*>(name)->property("enabled").toBool();
        QVERIFY2(on == row[1].split(' ').contains(name), qPrintable(row[0] + ": " + name));
      }
    }
  }

  void CloseQuery() {
    // The answer to "save the mesh?" (none: unchanged mesh, nothing asked);
    // "x" when the save fails; whether the program closes, the mesh is saved.
    const char* const rows[][3] = {{"", "closes", ""},
                                   {"Cancel", "", ""},
                                   {"No", "closes", ""},
                                   {"Yes", "closes", "saved"},
                                   {"Yes x", "", ""}};
    for (const auto& r : rows) {
      StopWindow();
      StartWindow();
      const QString answer = r[0];
      if (!answer.isEmpty()) {
        OpenImage(*form_, dialogs_, "OpenFirst", WriteBmp(File("a.bmp"), TestPicture(9, 9, 1)));
        QTest::mouseClick(form_->FirstChild()->Image1(), Qt::LeftButton, {}, QPoint(4, 4));
        dialogs_.confirm_answers.push_back(answer.startsWith("Yes") ? Answer::Yes
                                           : answer == "No"         ? Answer::No
                                                                    : Answer::Cancel);
      }
      if (answer.endsWith('x')) form_->MeshFileName = File("no/folder/x.mesh");
      QTest::mouseClick(Button(*form_, "ExitButton"), Qt::LeftButton);
      const bool closes = *r[1];
      QVERIFY2(form_->isVisible() == !closes, r[0]);
      QStringList asked;
      for (const auto& c : dialogs_.confirmations) asked << c.text;
      QCOMPARE(asked, QStringList(answer.isEmpty() ? 0 : 1, "Do you want to save the mesh ?"));
      QVERIFY2(QFile::exists(File("NoName.mesh")) == bool(*r[2]), r[0]);
      // The settings are written at the close, not when it is refused.
      QCOMPARE(QFile(File("Trelvanique.ini")).size(), closes ? qint64{53} : qint64{0});
      QCOMPARE(Shown().size(), answer.endsWith('x') ? 1 : 0);
    }
  }

  void FrameCountAndPrecisionControls() {
    // Edit; what is typed, or arrow clicks (+n, -n) or arrow keys (k+n, k-n);
    // what the edit then shows and the value taken.
    const QStringList rows = {"MaxStepButton 55 55 55",
                              "MaxStepButton 0 12 12",
                              "MaxStepButton 101 12 12",
                              "MaxStepButton abc 12 12",
                              "MaxStepButton $A $A 10",
                              "MaxStepButton +1 13 13",
                              "MaxStepButton k+1 13 13",
                              "MaxStepButton k-2 10 10",
                              "Edit2 1000 1000 1000",
                              "Edit2 1001 1 1",
                              "Edit2 -1 1 1"};
    for (const QString& row : rows) {
      const QStringList r = row.split(' ');
      QLineEdit* edit = Edit(*form_, qPrintable(r[0]));
      auto* arrows = NamedChild<TUpDown>(*form_, r[0] == "Edit2" ? "UpDown1" : "UpDownMaxStep");
      const bool by_key = r[1].startsWith('k'),
                 stepping = r[1].contains(QRegularExpression("^k?[+-]"));
      const int steps = stepping ? r[1].mid(by_key ? 1 : 0).toInt() : 0;
      if (!stepping) edit->setText(r[1]);
      edit->setFocus();
      for (int i = 0; i < std::abs(steps); ++i) {
        if (by_key) QTest::keyClick(edit, steps > 0 ? Qt::Key_Up : Qt::Key_Down);
        if (!by_key)
          QTest::mouseClick(steps > 0 ? arrows->UpButton() : arrows->DownButton(), Qt::LeftButton);
      }
      const Settings& s = form_->CurrentSettings();
      QCOMPARE(edit->text() + " " + QString::number(r[0] == "Edit2" ? s.Precision : s.FrameCount),
               r[2] + " " + r[3]);
      edit->setText(r[0] == "Edit2" ? "1" : "12");
    }
    // The arrows stop at 100 and 200; their two buttons fill the control.
    auto* arrows = NamedChild<TUpDown>(*form_, "UpDownMaxStep");
    QCOMPARE(QPoint(arrows->Max(), NamedChild<TUpDown>(*form_, "UpDown1")->Max()),
             QPoint(100, 200));
    QCOMPARE(arrows->UpButton()->geometry().topLeft(), QPoint(0, 0));
    QCOMPARE(arrows->DownButton()->geometry().bottom(), arrows->height() - 1);
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
