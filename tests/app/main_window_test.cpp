// The main window: start-up, layout, menu, command state, close query,
// generation controls and window commands.
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include "app/about_box.h"
#include "app/int_edit.h"
#include "app1_support.h"
#include "core/settings/settings_file.h"

using namespace vesk;
using namespace vesk::testing;

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TempWorkDir> work_;

 private slots:
  void init() {
    work_ = std::make_unique<TempWorkDir>();
    QApplication::clipboard()->clear();
  }
  void cleanup() { work_.reset(); }

  void StartUpShowsCaptionAndSettingsMessage() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    QCOMPARE(form->windowTitle(), QString("Trelvanique 1.1 NoName.mesh"));
    QCOMPARE(form->TitleText, QString("Trelvanique 1.1"));
    QCOMPARE(form->MeshFileName, QString("NoName.mesh"));
    QVERIFY(form->MeshSaved);
    QCOMPARE(dialogs.messages.size(), size_t{1});
    QCOMPARE(dialogs.messages[0].text, QString("Ini file not found !"));
    QCOMPARE(dialogs.messages[0].caption, QString("Trelvanique"));
    QCOMPARE(CoordLabel(*form)->text(), QString("(0:0)"));
    QCOMPARE(Edit(*form, "MaxStepButton")->text(), QString("12"));
    QCOMPARE(Edit(*form, "Edit2")->text(), QString("1"));
    QCOMPARE(form->CurrentSettings(), Settings());
    QCOMPARE(form->size(), QSize(538, 401));
    QVERIFY(form->MeshModel().Empty());
  }

  void StartUpReadsSettingsAndWritesThemIntoTheEdits() {
    Settings stored;
    stored.FrameCount = 20;
    stored.Precision = 7;
    stored.NodeSize = 3;
    QVERIFY(SaveSettings("Trelvanique.ini", stored).Ok());
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    QVERIFY(dialogs.messages.empty());
    QCOMPARE(Edit(*form, "MaxStepButton")->text(), QString("20"));
    QCOMPARE(Edit(*form, "Edit2")->text(), QString("7"));
    QCOMPARE(form->CurrentSettings(), stored);
  }

  void StartUpShowsTheAboutBoxModally() {
    ScriptedDialogs dialogs;
    QString seen_title;
    bool seen_modal = false;
    QTimer::singleShot(0, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      QVERIFY(modal);
      seen_title = modal->windowTitle();
      seen_modal = modal->isModal();
      auto* ok = modal->findChild<QPushButton*>("OKButton");
      QVERIFY(ok);
      QCOMPARE(ok->text(), QString("&OK"));
      QTest::mouseClick(ok, Qt::LeftButton);
    });
    TMDIForm form(dialogs);  // the About box is shown from the constructor
    QCOMPARE(seen_title, QString("About Trelvanique"));
    QVERIFY(seen_modal);
    // Start-up went on after the About box closed.
    QCOMPARE(form.windowTitle(), QString("Trelvanique 1.1 NoName.mesh"));
  }

  void AboutBoxContactLabelsRoughenThePicture() {
    TAboutBox about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const Bitmap before = about.Picture();
    QVERIFY(!before.Empty());
    auto* comments = about.findChild<QLabel*>("Comments");
    auto* label1 = about.findChild<QLabel*>("Label1");
    QVERIFY(comments && label1);
    QCOMPARE(comments->toolTip(), QString("Click Here"));
    QCOMPARE(label1->toolTip(), QString("Click Here"));
    QVERIFY(about.findChild<QLabel*>("ProgramIcon"));
    QTest::mouseClick(comments, Qt::LeftButton);
    const Bitmap after = about.Picture();
    QVERIFY(after != before);
    // The outer five-pixel border never changes.
    for (int y = 0; y < before.Height(); ++y) {
      for (int x = 0; x < before.Width(); ++x) {
        bool inner = x >= 5 && x <= before.Width() - 5 && y >= 5 && y <= before.Height() - 5;
        if (!inner) QCOMPARE(after.Pixel(x, y), before.Pixel(x, y));
      }
    }
    QTest::mouseClick(label1, Qt::LeftButton);
    QVERIFY(about.Picture() != after);
  }

  void ToolPanelHoldsEveryControlAtItsPlace() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    struct Expected {
      const char* name;
      int left, top;
      const char* hint;
    };
    const Expected buttons[] = {
        {"NewButton", 7, 3, "New mesh"},
        {"OpenMeshButton", 34, 3, "Open mesh"},
        {"SaveMeshButton", 62, 3, "Save mesh"},
        {"CopyF2PButton", 104, 3, "Copy Vesk 2 First"},
        {"CopyS2PButton", 131, 3, "Copy Vesk 2 Second"},
        {"SwapButton", 159, 3, "Swap nods"},
        {"SheetGlassButton", 201, 3, "Sheet Glass"},
        {"BitBtn1", 228, 3, "Colorize"},
        {"FlagButton", 256, 3, "Flag Streaming"},
        {"DistorsionButton", 283, 3, "Distorsion"},
        {"MorphButton", 311, 3, "Morph"},
        {"AniBitBtn", 345, 3, "Load frame list file"},
        {"OpenFirstButton", 34, 29, "Open first image"},
        {"OpenSecondButton", 62, 29, "Open second image"},
    };
    for (const Expected& e : buttons) {
      QToolButton* b = Button(*form, e.name);
      QCOMPARE(b->geometry(), QRect(e.left, e.top, 25, 25));
      QCOMPARE(b->toolTip(), QString(e.hint));
      QVERIFY2(!b->icon().isNull(), e.name);
    }
    QToolButton* exit = Button(*form, "ExitButton");
    QCOMPARE(exit->geometry(), QRect(7, 29, 25, 25));
    QVERIFY(!exit->toolTip().isEmpty());

    auto* panel = form->findChild<QFrame*>("Panel1");
    QVERIFY(panel);
    QCOMPARE(panel->height(), 57);
    QCOMPARE(panel->width(), form->width());
    // Lowered outer and raised inner bevel: an etched edge.
    QCOMPARE(panel->frameShape(), QFrame::Box);
    QCOMPARE(panel->frameShadow(), QFrame::Sunken);
    QLabel* label1 = CoordLabel(*form);
    QCOMPARE(label1->pos(), QPoint(119, 33));
    QCOMPARE(label1->toolTip(), QString("Coords "));
    QCOMPARE(label1->alignment(), Qt::AlignCenter);
    QCOMPARE(form->findChild<QLabel*>("Label2")->pos(), QPoint(168, 34));
    QCOMPARE(form->findChild<QLabel*>("Label2")->text(), QString("Iteration:"));
    QCOMPARE(form->findChild<QLabel*>("Label3")->pos(), QPoint(256, 34));
    QCOMPARE(form->findChild<QLabel*>("Label3")->text(), QString("Precision:"));
    QCOMPARE(Edit(*form, "MaxStepButton")->geometry(), QRect(209, 31, 22, 21));
    QCOMPARE(Edit(*form, "MaxStepButton")->toolTip(), QString("Number of frames"));
    QCOMPARE(Edit(*form, "Edit2")->geometry(), QRect(304, 31, 22, 21));
    QCOMPARE(Edit(*form, "Edit2")->toolTip(), QString("Precision"));
    auto* updown_max = form->findChild<TUpDown*>("UpDownMaxStep");
    auto* updown1 = form->findChild<TUpDown*>("UpDown1");
    QVERIFY(updown_max && updown1);
    QCOMPARE(updown_max->geometry(), QRect(231, 31, 15, 21));
    QCOMPARE(updown_max->toolTip(), QString("Iteration"));
    QCOMPARE(updown_max->Min(), 1);
    QCOMPARE(updown_max->Max(), 100);
    QCOMPARE(updown_max->Position(), 12);
    QCOMPARE(updown1->geometry(), QRect(326, 31, 15, 21));
    QCOMPARE(updown1->toolTip(), QString("Precision"));
    QCOMPARE(updown1->Min(), 1);
    QCOMPARE(updown1->Max(), 200);
    QCOMPARE(updown1->Position(), 1);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Button(*form, "NewButton")));
  }

  void MenuHoldsEveryItemInOrder() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    struct Row {
      const char* name;
      const char* caption;
      QKeySequence shortcut;
    };
    const QKeySequence none;
    auto ctrl = [](Qt::Key k) { return QKeySequence(Qt::CTRL | k); };
    const std::vector<std::pair<std::pair<const char*, const char*>, std::vector<Row>>> menus = {
        {{"File1", "&File"},
         {{"OpenFirst", "Open &First image", none},
          {"OpenSecond", "Open &Second image", none},
          {"N2", "", none},
          {"NewMesh", "&New Morph Mesh", ctrl(Qt::Key_N)},
          {"OpenMesh", "&Open Morph Mesh", none},
          {"Savemesh", "&Save Morph Mesh", ctrl(Qt::Key_S)},
          {"SaveMashAs", "Save Morph Mesh &as..", none},
          {"N1", "", none},
          {"SaveVeskImageAs", "Save &Vesk Image as..", none},
          {"N9", "", none},
          {"PrintVeskImage1", "P&rint Vesk Image", ctrl(Qt::Key_P)},
          {"PrinterSetup1", "Pr&inter Setup", none},
          {"N3", "", none},
          {"Exit1", "E&xit", ctrl(Qt::Key_X)},
          {"N12", "", none},
          {"RecentMeshes", "Recent &meshes", none}}},
        {{"Edit1", "&Edit"},
         {{"Undo1", "&Undo", ctrl(Qt::Key_Z)},
          {"Redo1", "&Redo", ctrl(Qt::Key_Y)},
          {"N10", "", none},
          {"Copy", "&Copy", ctrl(Qt::Key_C)},
          {"Paste", "&Paste", ctrl(Qt::Key_V)},
          {"N5", "", none},
          {"CopyVesk2First", "Copy Vesk 2 &First", none},
          {"CopyVesk2Second", "Copy Vesk 2 &Second", none},
          {"N4", "", none},
          {"SwapMorphMesh", "S&wap Morph Mesh", ctrl(Qt::Key_W)},
          {"N13", "", none},
          {"NewGridMesh", "New &Grid Mesh...", none},
          {"TriangulateNodes", "&Triangulate Nodes", none}}},
        {{"View1", "&View"},
         {{"ZoomIn1", "Zoom &In", ctrl(Qt::Key_Plus)},
          {"ZoomOut1", "Zoom &Out", ctrl(Qt::Key_Minus)},
          {"FitWindow1", "&Fit Window", ctrl(Qt::Key_0)},
          {"ActualPixels1", "&Actual Pixels", ctrl(Qt::Key_1)},
          {"N11", "", none},
          {"LinkWindows1", "&Link Image Windows", none}}},
        {{"Tools1", "&Tools"},
         {{"SheetGlass", "Sheet &Glass", ctrl(Qt::Key_G)},
          {"Colorize1", "Co&lorize", ctrl(Qt::Key_L)},
          {"FlagStreaming1", "&FlagStreaming", ctrl(Qt::Key_F)},
          {"Distorsion1", "&Distorsion", ctrl(Qt::Key_D)},
          {"Ombrix1", "&Ombrix", ctrl(Qt::Key_M)},
          {"N7", "", none},
          {"Animations", "&Animations...", none},
          {"N6", "", none},
          {"Options", "&Options...", none},
          {"Preview", "&Preview", ctrl(Qt::Key_R)}}},
        {{"Window1", "&Window"},
         {{"Tile1", "&Tile", none},
          {"Cascade1", "&Cascade", none},
          {"ArrangeIcons1", "Arrange &Icons", none}}},
        {{"Help1", "&Help"},
         {{"Index", "&Index", QKeySequence(Qt::Key_F1)},
          {"N8", "", none},
          {"About", "&About", none}}},
    };
    QList<QAction*> bar = form->menuBar()->actions();
    QCOMPARE(bar.size(), static_cast<qsizetype>(menus.size()));
    for (size_t m = 0; m < menus.size(); ++m) {
      QMenu* menu = bar[static_cast<qsizetype>(m)]->menu();
      QVERIFY(menu);
      QCOMPARE(menu->objectName(), QString(menus[m].first.first));
      QCOMPARE(menu->title(), QString(menus[m].first.second));
      QList<QAction*> items = menu->actions();
      const auto& rows = menus[m].second;
      QCOMPARE(items.size(), static_cast<qsizetype>(rows.size()));
      for (size_t i = 0; i < rows.size(); ++i) {
        QAction* a = items[static_cast<qsizetype>(i)];
        QCOMPARE(a->objectName(), QString(rows[i].name));
        if (rows[i].name[0] == 'N' && rows[i].name[1] >= '0' && rows[i].name[1] <= '9') {
          QVERIFY(a->isSeparator());
        } else {
          QCOMPARE(a->text(), QString(rows[i].caption));
          QCOMPARE(a->shortcut(), rows[i].shortcut);
        }
      }
    }
  }

  void CommandStateWithNoImageWindow() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    for (const char* off : {"PrintVeskImage1", "SaveVeskImageAs", "Copy", "Paste",
                            "CopyVesk2First", "CopyVesk2Second", "SwapMorphMesh", "SheetGlass",
                            "FlagStreaming1", "Colorize1", "Distorsion1", "Ombrix1",
                            "ArrangeIcons1", "Tile1", "Cascade1"}) {
      QVERIFY2(!Item(*form, off)->isEnabled(), off);
    }
    for (const char* on : {"OpenFirst", "OpenSecond", "NewMesh", "OpenMesh", "Savemesh",
                           "SaveMashAs", "PrinterSetup1", "Exit1", "Animations", "Options",
                           "Index", "About"}) {
      QVERIFY2(Item(*form, on)->isEnabled(), on);
    }
    for (const char* off : {"CopyF2PButton", "CopyS2PButton", "SwapButton", "SheetGlassButton",
                            "FlagButton", "BitBtn1", "DistorsionButton", "MorphButton"}) {
      QVERIFY2(!Button(*form, off)->isEnabled(), off);
    }
    for (const char* on : {"NewButton", "OpenMeshButton", "SaveMeshButton", "AniBitBtn",
                           "ExitButton", "OpenFirstButton", "OpenSecondButton"}) {
      QVERIFY2(Button(*form, on)->isEnabled(), on);
    }
  }

  void CommandStateWithOnlyTheFirstImage() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    OpenImage(*form, dialogs, "OpenFirst", WriteBmp(work_->File("a.bmp"), TestPicture(20, 10, 1)));
    QVERIFY(form->FirstChild());
    QVERIFY(Item(*form, "SheetGlass")->isEnabled());
    QVERIFY(Item(*form, "FlagStreaming1")->isEnabled());
    QVERIFY(Button(*form, "SheetGlassButton")->isEnabled());
    QVERIFY(Button(*form, "FlagButton")->isEnabled());
    for (const char* off : {"Colorize1", "Distorsion1", "Ombrix1", "CopyVesk2First",
                            "PrintVeskImage1", "SaveVeskImageAs", "Paste"}) {
      QVERIFY2(!Item(*form, off)->isEnabled(), off);
    }
    for (const char* off : {"BitBtn1", "DistorsionButton", "MorphButton", "CopyF2PButton"}) {
      QVERIFY2(!Button(*form, off)->isEnabled(), off);
    }
    for (const char* on : {"Copy", "Tile1", "Cascade1", "ArrangeIcons1"}) {
      QVERIFY2(Item(*form, on)->isEnabled(), on);
    }
  }

  void CommandStateWithBothImagesAndVesk() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    OpenImage(*form, dialogs, "OpenFirst", WriteBmp(work_->File("a.bmp"), TestPicture(20, 10, 1)));
    OpenImage(*form, dialogs, "OpenSecond", WriteBmp(work_->File("b.bmp"), TestPicture(20, 10, 2)));
    for (const char* on : {"Colorize1", "Distorsion1", "Ombrix1", "SheetGlass"}) {
      QVERIFY2(Item(*form, on)->isEnabled(), on);
    }
    QVERIFY(!Item(*form, "CopyVesk2First")->isEnabled());
    dialogs.save_answers.push_back(std::nullopt);  // no frame list
    Item(*form, "Colorize1")->trigger();
    QVERIFY(form->VeskChild());
    for (const char* on : {"PrintVeskImage1", "SaveVeskImageAs", "CopyVesk2First",
                           "CopyVesk2Second"}) {
      QVERIFY2(Item(*form, on)->isEnabled(), on);
    }
    QVERIFY(Button(*form, "CopyF2PButton")->isEnabled());
    QVERIFY(Button(*form, "CopyS2PButton")->isEnabled());
  }

  void PasteFollowsTheClipboardOnlyAtTheNextUpdate() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    OpenImage(*form, dialogs, "OpenFirst", WriteBmp(work_->File("a.bmp"), TestPicture(20, 10, 1)));
    QVERIFY(!Item(*form, "Paste")->isEnabled());
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QApplication::clipboard()->setImage(image);
    // Nothing watches the clipboard ...
    QVERIFY(!Item(*form, "Paste")->isEnabled());
    // ... until a mouse-up in an image window runs the update.
    TImage* image1 = form->FirstChild()->Image1();
    QTest::mouseRelease(image1, Qt::LeftButton, {}, QPoint(1, 1));
    QVERIFY(Item(*form, "Paste")->isEnabled());
  }

  void SwapBecomesEnabledAtTheMouseUpOfTheFirstNode() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    OpenImage(*form, dialogs, "OpenFirst", WriteBmp(work_->File("a.bmp"), TestPicture(40, 30, 1)));
    TImage* image1 = form->FirstChild()->Image1();
    QVERIFY(!Item(*form, "SwapMorphMesh")->isEnabled());
    QTest::mousePress(image1, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(form->MeshModel().NodeCount(), size_t{1});
    QVERIFY(!Item(*form, "SwapMorphMesh")->isEnabled());
    QTest::mouseRelease(image1, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(Item(*form, "SwapMorphMesh")->isEnabled());
    QVERIFY(Button(*form, "SwapButton")->isEnabled());
  }

  void CloseWithUnchangedMeshAsksNothing() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    QVERIFY(form->close());
    QVERIFY(dialogs.confirmations.empty());
    // Settings are written last, as one 53-byte file.
    QCOMPARE(QFile(work_->File("Trelvanique.ini")).size(), qint64{53});
  }

  void CloseAfterAnEditAsksAndCancelKeepsEverything() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    OpenImage(*form, dialogs, "OpenFirst", WriteBmp(work_->File("a.bmp"), TestPicture(40, 30, 1)));
    QTest::mouseClick(form->FirstChild()->Image1(), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!form->MeshSaved);
    dialogs.confirm_answers.push_back(Answer::Cancel);
    QVERIFY(!form->close());
    QCOMPARE(dialogs.confirmations.size(), size_t{1});
    QCOMPARE(dialogs.confirmations[0].text, QString("Do you want to save the mesh ?"));
    QVERIFY(form->isVisible());
    QCOMPARE(form->MeshModel().NodeCount(), size_t{1});
    QVERIFY(form->FirstChild());
    QVERIFY(!QFile::exists(work_->File("Trelvanique.ini")));
    QVERIFY(!QFile::exists(work_->File("NoName.mesh")));

    dialogs.confirm_answers.push_back(Answer::No);
    QVERIFY(form->close());
    QVERIFY(!QFile::exists(work_->File("NoName.mesh")));
    QVERIFY(QFile::exists(work_->File("Trelvanique.ini")));
  }

  void CloseAnsweredYesSavesTheMesh() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    OpenImage(*form, dialogs, "OpenFirst", WriteBmp(work_->File("a.bmp"), TestPicture(40, 30, 1)));
    QTest::mouseClick(form->FirstChild()->Image1(), Qt::LeftButton, {}, QPoint(10, 10));
    dialogs.confirm_answers.push_back(Answer::Yes);
    QVERIFY(form->close());
    // 11 header + 16 node + 32 selection + names with their stars.
    const QString first = work_->File("a.bmp");
    QCOMPARE(QFile(work_->File("NoName.mesh")).size(),
             qint64{11 + 16 + 32} + first.toUtf8().size() + 1 + 1);
    QCOMPARE(dialogs.unexpected, 0);
  }

  void CloseWhoseSaveFailsStaysOpen() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    OpenImage(*form, dialogs, "OpenFirst", WriteBmp(work_->File("a.bmp"), TestPicture(40, 30, 1)));
    QTest::mouseClick(form->FirstChild()->Image1(), Qt::LeftButton, {}, QPoint(10, 10));
    form->MeshFileName = work_->File("no/such/folder/x.mesh");
    dialogs.confirm_answers.push_back(Answer::Yes);
    dialogs.messages.clear();
    QVERIFY(!form->close());
    QVERIFY(form->isVisible());
    QCOMPARE(dialogs.messages.size(), size_t{1});
    QCOMPARE(dialogs.messages[0].caption, QString("Trelvanique"));
    QVERIFY(dialogs.messages[0].text.endsWith('.'));
    QVERIFY(!QFile::exists(work_->File("Trelvanique.ini")));
    QVERIFY(!form->MeshSaved);
  }

  void SettingsAreWrittenWhereTheyWereReadEvenAfterAFolderChange() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    QVERIFY(form->close());
    QVERIFY(QFile::exists(work_->File("Trelvanique.ini")));
    QVERIFY(!QFile::exists(elsewhere.filePath("Trelvanique.ini")));
  }

  void ExitButtonClosesTheProgram() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    QTest::mouseClick(Button(*form, "ExitButton"), Qt::LeftButton);
    QVERIFY(!form->isVisible());
  }

  void FrameCountEditPutsThePreviousNumberBack() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    QLineEdit* edit = Edit(*form, "MaxStepButton");
    for (const char* bad : {"0", "101", "abc", ""}) {
      edit->setText(bad);
      QCOMPARE(edit->text(), QString("12"));
      QCOMPARE(form->CurrentSettings().FrameCount, std::uint16_t{12});
    }
    edit->setText("$A");
    QCOMPARE(edit->text(), QString("$A"));
    QCOMPARE(form->CurrentSettings().FrameCount, std::uint16_t{10});
    edit->setText("0");
    QCOMPARE(edit->text(), QString("10"));
    // Typing through the keyboard goes the same way.
    edit->selectAll();
    QTest::keyClicks(edit, "x");
    QCOMPARE(edit->text(), QString("10"));
    edit->selectAll();
    QTest::keyClicks(edit, "55");
    QCOMPARE(form->CurrentSettings().FrameCount, std::uint16_t{55});
  }

  void PrecisionEditAcceptsUpToAThousandButTheArrowsStopAt200() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    QLineEdit* edit = Edit(*form, "Edit2");
    edit->setText("1000");
    QCOMPARE(form->CurrentSettings().Precision, std::uint16_t{1000});
    edit->setText("1001");
    QCOMPARE(edit->text(), QString("1000"));
    auto* arrows = form->findChild<TUpDown*>("UpDown1");
    edit->setText("199");
    QTest::mouseClick(arrows->UpButton(), Qt::LeftButton);
    QCOMPARE(edit->text(), QString("200"));
    QTest::mouseClick(arrows->UpButton(), Qt::LeftButton);
    QCOMPARE(edit->text(), QString("200"));
    QCOMPARE(form->CurrentSettings().Precision, std::uint16_t{200});
    edit->setText("1");
    QTest::mouseClick(arrows->DownButton(), Qt::LeftButton);
    QCOMPARE(edit->text(), QString("1"));
  }

  void FrameCountArrowsStayWithinOneToAHundred() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    QLineEdit* edit = Edit(*form, "MaxStepButton");
    auto* arrows = form->findChild<TUpDown*>("UpDownMaxStep");
    QTest::mouseClick(arrows->UpButton(), Qt::LeftButton);
    QCOMPARE(edit->text(), QString("13"));
    QCOMPARE(form->CurrentSettings().FrameCount, std::uint16_t{13});
    edit->setText("100");
    QTest::mouseClick(arrows->UpButton(), Qt::LeftButton);
    QCOMPARE(edit->text(), QString("100"));
    edit->setText("2");
    QTest::mouseClick(arrows->DownButton(), Qt::LeftButton);
    QTest::mouseClick(arrows->DownButton(), Qt::LeftButton);
    QCOMPARE(edit->text(), QString("1"));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Up);
    QCOMPARE(edit->text(), QString("2"));
  }

  void TilePlacesImageWindowsSideBySide() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    OpenImage(*form, dialogs, "OpenFirst", WriteBmp(work_->File("a.bmp"), TestPicture(40, 30, 1)));
    OpenImage(*form, dialogs, "OpenSecond", WriteBmp(work_->File("b.bmp"), TestPicture(40, 30, 2)));
    QRect area = form->MdiArea()->viewport()->rect();
    QRect first = form->FirstChild()->geometry();
    QRect second = form->SecondChild()->geometry();
    QCOMPARE(first.top(), 0);
    QCOMPARE(second.top(), 0);
    QCOMPARE(first.height(), area.height());
    QCOMPARE(second.height(), area.height());
    QCOMPARE(first.left(), 0);
    QCOMPARE(second.left(), first.right() + 1);
    QCOMPARE(second.right(), area.width() - 1);

    Item(*form, "Cascade1")->trigger();
    QVERIFY(form->SecondChild()->geometry().top() != form->FirstChild()->geometry().top() ||
            form->SecondChild()->geometry().left() != form->FirstChild()->geometry().left());
    Item(*form, "Tile1")->trigger();
    QCOMPARE(form->FirstChild()->geometry(), first);
  }

  void CloseBoxMinimizesAndArrangeIconsLinesThemUp() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    OpenImage(*form, dialogs, "OpenFirst", WriteBmp(work_->File("a.bmp"), TestPicture(40, 30, 1)));
    OpenImage(*form, dialogs, "OpenSecond", WriteBmp(work_->File("b.bmp"), TestPicture(40, 30, 2)));
    TChildForm* first = form->FirstChild();
    TChildForm* second = form->SecondChild();
    first->close();
    second->close();
    QVERIFY(first->isMinimized());
    QVERIFY(second->isMinimized());
    QCOMPARE(form->FirstChild(), first);
    QVERIFY(Item(*form, "Colorize1")->isEnabled());
    Item(*form, "ArrangeIcons1")->trigger();
    QRect area = form->MdiArea()->viewport()->rect();
    QCOMPARE(first->geometry().bottom(), area.height() - 1);
    QCOMPARE(second->geometry().bottom(), area.height() - 1);
    QCOMPARE(first->geometry().left(), 0);
    QCOMPARE(second->geometry().left(), first->geometry().right() + 1);
  }

  void FileDialogsHaveTheirFiltersAndNoTitleOfTheirOwn() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    OpenImage(*form, dialogs, "OpenFirst", WriteBmp(work_->File("a.bmp"), TestPicture(20, 10, 1)));
    OpenImage(*form, dialogs, "OpenSecond", WriteBmp(work_->File("b.bmp"), TestPicture(20, 10, 2)));
    dialogs.open_answers.push_back(std::nullopt);
    Item(*form, "OpenMesh")->trigger();
    dialogs.save_answers.push_back(std::nullopt);
    Item(*form, "SaveMashAs")->trigger();
    dialogs.save_answers.push_back(std::nullopt);  // no frame list
    Item(*form, "Ombrix1")->trigger();
    const QStringList expected = {"Bitmap|*.BMP|All Files|*.*", "Bitmap|*.BMP|All Files|*.*",
                                  "Mesh Files|*.mesh|All Files|*.*",
                                  "Mesh Files|*.mesh|All Files|*.*",
                                  "Animation Files|*.any|All Files|*.*"};
    QCOMPARE(dialogs.filters, expected);
    QCOMPARE(dialogs.titles, QStringList(expected.size(), QString()));
    QCOMPARE(dialogs.unexpected, 0);
  }

  void WindowMenuListsTheImageWindows() {
    ScriptedDialogs dialogs;
    auto form = MakeMainWindow(dialogs);
    OpenImage(*form, dialogs, "OpenFirst", WriteBmp(work_->File("face.bmp"), TestPicture(40, 30, 1)));
    auto* window_menu = form->findChild<QMenu*>("Window1");
    emit window_menu->aboutToShow();
    QStringList texts;
    for (QAction* a : window_menu->actions()) texts << a->text();
    QVERIFY(texts.contains("&1 face.bmp"));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
