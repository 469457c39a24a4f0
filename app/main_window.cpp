#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPrinter>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/about_box.h"
#include "app/animation_viewer.h"
#include "app/child_form.h"
#include "app/design_font.h"
#include "app/file_drop.h"
#include "app/glyphs.h"
#include "app/help_window.h"
#include "app/image_commands.h"
#include "app/int_edit.h"
#include "app/kancel_form.h"
#include "app/mesh_undo.h"
#include "app/options_form.h"
#include "app/user_dialogs.h"
#include "app/user_settings.h"
#include "core/common/file_io.h"
#include "core/common/int_conversion.h"
#include "core/mesh/mesh_file.h"
#include "core/settings/settings_file.h"

namespace vesk {
namespace {

constexpr char kDesignedCaption[] = "Trelvanique 1.1";
constexpr char kHelpFile[] = "./Zelph.hlp";

}  // namespace

TMDIForm::TMDIForm(UserDialogs& dialogs) : TMDIForm(dialogs, Options()) {}

TMDIForm::TMDIForm(UserDialogs& dialogs, Options options)
    : QMainWindow(nullptr),
      dialogs_(dialogs),
      options_(std::move(options)),
      renderer_(StoredRenderer()),
      timing_(StoredTiming()) {
  setObjectName("MDIForm");
  setWindowTitle(kDesignedCaption);
  setWindowIcon(ProgramIcon());
  setFont(DesignFont());
  resize(538, 401);

  auto* client = new QWidget(this);
  auto* layout = new QVBoxLayout(client);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  panel1_ = new QFrame(client);
  panel1_->setObjectName("Panel1");
  // A lowered outer and a raised inner bevel: an etched edge.
  panel1_->setFrameStyle(QFrame::Box | QFrame::Sunken);
  panel1_->setLineWidth(1);
  panel1_->setMidLineWidth(0);
  panel1_->setFixedHeight(57);
  layout->addWidget(panel1_);
  mdi_area_ = new QMdiArea(client);
  mdi_area_->setObjectName("ClientArea");
  mdi_area_->setBackground(QColor(128, 128, 128));
  layout->addWidget(mdi_area_, 1);
  setCentralWidget(client);

  undo_ = std::make_unique<MeshUndo>([this] { return CaptureMeshState(); },
                                     [this](const MeshUndoState& s) { RestoreMeshState(s); });
  BuildMenu();
  BuildToolPanel();
  BuildStatusBar();
  new FileDropFilter(this, [this](const QStringList& files) { OpenFiles(files); });
  kancel_form_ = std::make_unique<TKancelForm>();
  CentreOnScreen();

  // The settings file's place is fixed at start-up, so the file dialogs,
  // which change the current folder, cannot send it elsewhere.
  settings_path_ = QFileInfo(options_.settings_file).absoluteFilePath();
  FormCreate();
}

TMDIForm::~TMDIForm() {
  // The image windows go with the client area; forget them first.
  first_child_ = second_child_ = vesk_child_ = nullptr;
}

void TMDIForm::CentreOnScreen() {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
}

// ---- Menu and tool panel -------------------------------------------------

QAction* TMDIForm::AddItem(QMenu* menu, const char* name, const QString& caption,
                           const QKeySequence& shortcut, void (TMDIForm::*handler)()) {
  auto* action = new QAction(caption, this);
  action->setObjectName(name);
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  connect(action, &QAction::triggered, this, [this, handler] { RunCommand(handler); });
  menu->addAction(action);
  items_[name] = action;
  return action;
}

void TMDIForm::AddDivider(QMenu* menu, const char* name) {
  QAction* divider = menu->addSeparator();
  divider->setObjectName(name);
}

void TMDIForm::BuildMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("MainMenu1");
  auto menu = [&](const char* name, const QString& caption) {
    QMenu* m = bar->addMenu(caption);
    m->setObjectName(name);
    return m;
  };
  const QKeySequence none;
  auto ctrl = [](Qt::Key key) { return QKeySequence(Qt::CTRL | key); };

  QMenu* file = menu("File1", "&File");
  AddItem(file, "OpenFirst", "Open &First image", none, &TMDIForm::OpenFirstClick);
  AddItem(file, "OpenSecond", "Open &Second image", none, &TMDIForm::OpenSecondClick);
  AddDivider(file, "N2");
  AddItem(file, "NewMesh", "&New Morph Mesh", ctrl(Qt::Key_N), &TMDIForm::NewMeshClick);
  AddItem(file, "OpenMesh", "&Open Morph Mesh", none, &TMDIForm::OpenMeshClick);
  AddItem(file, "Savemesh", "&Save Morph Mesh", ctrl(Qt::Key_S), &TMDIForm::SavemeshClickCommand);
  AddItem(file, "SaveMashAs", "Save Morph Mesh &as..", none, &TMDIForm::SaveMashAsClick);
  AddDivider(file, "N1");
  AddItem(file, "SaveVeskImageAs", "Save &Vesk Image as..", none,
          &TMDIForm::SaveVeskImageAsClick);
  AddDivider(file, "N9");
  AddItem(file, "PrintVeskImage1", "P&rint Vesk Image", ctrl(Qt::Key_P),
          &TMDIForm::PrintVeskImage1Click);
  AddItem(file, "PrinterSetup1", "Pr&inter Setup", none, &TMDIForm::PrinterSetup1Click);
  AddDivider(file, "N3");
  AddItem(file, "Exit1", "E&xit", ctrl(Qt::Key_X), &TMDIForm::Exit1Click);
  AddDivider(file, "N12");
  recent_menu_ = file->addMenu("Recent &meshes");
  recent_menu_->setObjectName("RecentMeshesMenu");
  recent_menu_->menuAction()->setObjectName("RecentMeshes");
  FillRecentMeshes();
  AddDivider(file, "N16");
  AddItem(file, "NewSequence", "New Se&quence", none, &TMDIForm::NewSequenceClick);
  AddItem(file, "OpenSequence", "Open Seq&uence...", none, &TMDIForm::OpenSequenceClick);

  QMenu* edit = menu("Edit1", "&Edit");
  BuildUndoItems(edit);
  AddItem(edit, "Copy", "&Copy", ctrl(Qt::Key_C), &TMDIForm::CopyClick);
  AddItem(edit, "Paste", "&Paste", ctrl(Qt::Key_V), &TMDIForm::PasteClick);
  AddDivider(edit, "N5");
  AddItem(edit, "CopyVesk2First", "Copy Vesk 2 &First", none, &TMDIForm::CopyVesk2FirstClick);
  AddItem(edit, "CopyVesk2Second", "Copy Vesk 2 &Second", none,
          &TMDIForm::CopyVesk2SecondClick);
  AddDivider(edit, "N4");
  AddItem(edit, "SwapMorphMesh", "S&wap Morph Mesh", ctrl(Qt::Key_W),
          &TMDIForm::SwapMorphMeshClick);
  AddDivider(edit, "N13");
  AddItem(edit, "NewGridMesh", "New &Grid Mesh...", none, &TMDIForm::NewGridMeshClick);
  AddItem(edit, "TriangulateNodes", "&Triangulate Nodes", none,
          &TMDIForm::TriangulateNodesClick);
  AddItem(edit, "AutoMesh", "&Auto Mesh...", none, &TMDIForm::AutoMeshClick);
  AddDivider(edit, "N15");
  AddItem(edit, "FitSecondToFirst", "F&it Second Image to First", none,
          &TMDIForm::FitSecondToFirstClick);

  BuildViewMenu(menu("View1", "&View"));

  QMenu* tools = menu("Tools1", "&Tools");
  AddItem(tools, "SheetGlass", "Sheet &Glass", ctrl(Qt::Key_G), &TMDIForm::SheetGlassClick);
  AddItem(tools, "Colorize1", "Co&lorize", ctrl(Qt::Key_L), &TMDIForm::Colorize1Click);
  AddItem(tools, "FlagStreaming1", "&FlagStreaming", ctrl(Qt::Key_F),
          &TMDIForm::FlagStreaming1Click);
  AddItem(tools, "Distorsion1", "&Distorsion", ctrl(Qt::Key_D), &TMDIForm::Distorsion1Click);
  AddItem(tools, "Ombrix1", "&Ombrix", ctrl(Qt::Key_M), &TMDIForm::Ombrix1Click);
  AddDivider(tools, "N7");
  AddItem(tools, "Animations", "&Animations...", none, &TMDIForm::AnimationsClick);
  AddDivider(tools, "N6");
  AddItem(tools, "Options", "&Options...", none, &TMDIForm::OptionsClick);
  AddItem(tools, "Preview", "&Preview", ctrl(Qt::Key_R), &TMDIForm::PreviewClick);
  AddDivider(tools, "N14");
  AddItem(tools, "AverageFaces", "A&verage Faces...", none, &TMDIForm::AverageFacesClick);
  AddItem(tools, "Caricature", "Ca&ricature...", none, &TMDIForm::CaricatureClick);

  window_menu_ = menu("Window1", "&Window");
  AddItem(window_menu_, "Tile1", "&Tile", none, &TMDIForm::Tile1Click);
  AddItem(window_menu_, "Cascade1", "&Cascade", none, &TMDIForm::Cascade1Click);
  AddItem(window_menu_, "ArrangeIcons1", "Arrange &Icons", none, &TMDIForm::ArrangeIcons1Click);
  connect(window_menu_, &QMenu::aboutToShow, this, &TMDIForm::FillWindowList);

  QMenu* help = menu("Help1", "&Help");
  AddItem(help, "Index", "&Index", QKeySequence(Qt::Key_F1), &TMDIForm::IndexClick);
  AddDivider(help, "N8");
  AddItem(help, "About", "&About", none, &TMDIForm::AboutClick);
}

void TMDIForm::FillWindowList() {
  // The window-list part of the Window menu: one item per image window.
  for (QAction* a : window_list_) {
    window_menu_->removeAction(a);
    a->deleteLater();
  }
  window_list_.clear();
  const QList<QMdiSubWindow*> windows = mdi_area_->subWindowList(QMdiArea::CreationOrder);
  if (windows.isEmpty()) return;
  window_list_ << window_menu_->addSeparator();
  int number = 1;
  for (QMdiSubWindow* w : windows) {
    QAction* a = window_menu_->addAction(QString("&%1 %2").arg(number++).arg(w->windowTitle()));
    a->setCheckable(true);
    a->setChecked(w == mdi_area_->currentSubWindow());
    connect(a, &QAction::triggered, this, [this, w] {
      if (w->isMinimized()) w->showNormal();
      mdi_area_->setActiveSubWindow(w);
    });
    window_list_ << a;
  }
}

QToolButton* TMDIForm::AddButton(const char* name, int left, int top, Glyph glyph,
                                 const QString& hint, void (TMDIForm::*handler)()) {
  auto* button = new QToolButton(panel1_);
  button->setObjectName(name);
  button->setGeometry(left, top, 25, 25);
  button->setIcon(GlyphIcon(glyph));
  button->setIconSize(QSize(kGlyphSize, kGlyphSize));
  button->setToolTip(hint);
  button->setFocusPolicy(Qt::StrongFocus);
  connect(button, &QToolButton::clicked, this, [this, handler] { RunCommand(handler); });
  buttons_[name] = button;
  return button;
}

QLineEdit* TMDIForm::AddIntegerEdit(const char* name, int left, const QString& hint, int value) {
  auto* edit = new QLineEdit(QString::number(value), panel1_);
  edit->setObjectName(name);
  edit->setGeometry(left, 31, 22, 21);
  edit->setToolTip(hint);
  edit->setTextMargins(0, 0, 0, 0);
  return edit;
}

TUpDown* TMDIForm::AddUpDown(QLineEdit* associate, const char* name, int left,
                             const QString& hint, int min, int max, int position) {
  auto* arrows = new TUpDown(associate, min, max, position, panel1_);
  arrows->setObjectName(name);
  arrows->setGeometry(left, 31, 15, 21);
  arrows->setToolTip(hint);
  return arrows;
}

void TMDIForm::BuildToolPanel() {
  struct ButtonRow {
    const char* name;
    int left, top;
    Glyph glyph;
    const char* hint;
    void (TMDIForm::*handler)();
  };
  const ButtonRow rows[] = {
      {"NewButton", 7, 3, Glyph::NewMesh, "New mesh", &TMDIForm::NewMeshClick},
      {"OpenMeshButton", 34, 3, Glyph::OpenMesh, "Open mesh", &TMDIForm::OpenMeshClick},
      {"SaveMeshButton", 62, 3, Glyph::SaveMesh, "Save mesh", &TMDIForm::SavemeshClickCommand},
      {"CopyF2PButton", 104, 3, Glyph::CopyVesk2First, "Copy Vesk 2 First",
       &TMDIForm::CopyVesk2FirstClick},
      {"CopyS2PButton", 131, 3, Glyph::CopyVesk2Second, "Copy Vesk 2 Second",
       &TMDIForm::CopyVesk2SecondClick},
      {"SwapButton", 159, 3, Glyph::SwapMesh, "Swap nods", &TMDIForm::SwapMorphMeshClick},
      {"SheetGlassButton", 201, 3, Glyph::SheetGlass, "Sheet Glass", &TMDIForm::SheetGlassClick},
      {"BitBtn1", 228, 3, Glyph::Colorize, "Colorize", &TMDIForm::Colorize1Click},
      {"FlagButton", 256, 3, Glyph::FlagStreaming, "Flag Streaming",
       &TMDIForm::FlagStreaming1Click},
      {"DistorsionButton", 283, 3, Glyph::Distorsion, "Distorsion", &TMDIForm::Distorsion1Click},
      {"MorphButton", 311, 3, Glyph::Morph, "Morph", &TMDIForm::Ombrix1Click},
      {"AniBitBtn", 345, 3, Glyph::Animations, "Load frame list file",
       &TMDIForm::AnimationsClick},
      {"ExitButton", 7, 29, Glyph::Exit, "Exit: close the program", &TMDIForm::Exit1Click},
      {"OpenFirstButton", 34, 29, Glyph::OpenFirst, "Open first image",
       &TMDIForm::OpenFirstClick},
      {"OpenSecondButton", 62, 29, Glyph::OpenSecond, "Open second image",
       &TMDIForm::OpenSecondClick},
  };
  for (const ButtonRow& row : rows) {
    AddButton(row.name, row.left, row.top, row.glyph, row.hint, row.handler);
  }
  QToolButton* new_button = buttons_.at("NewButton");

  label1_ = new QLabel("(0:0)", panel1_);
  label1_->setObjectName("Label1");
  label1_->setAlignment(Qt::AlignCenter);
  label1_->setToolTip("Coords ");
  label1_->setAutoFillBackground(true);
  QPalette grey = label1_->palette();
  grey.setColor(QPalette::Window, QColor(192, 192, 192));
  label1_->setPalette(grey);
  label1_->move(119, 33);
  // Every label fits in its room up to the next control, the readout up to
  // "(9999:9999)".
  label1_->setFont(FontFitting(label1_->font(), CoordinateCaption(9999, 9999), 168 - 119));
  label1_->adjustSize();

  auto* label2 = new QLabel("Iteration:", panel1_);
  label2->setObjectName("Label2");
  label2->move(168, 34);
  label2->setFont(FontFitting(label2->font(), label2->text(), 209 - 168));
  label2->adjustSize();

  max_step_button_ = AddIntegerEdit("MaxStepButton", 209, "Number of frames", 12);
  up_down_max_step_ = AddUpDown(max_step_button_, "UpDownMaxStep", 231, "Iteration", 1, 100, 12);

  auto* label3 = new QLabel("Precision:", panel1_);
  label3->setObjectName("Label3");
  label3->move(256, 34);
  label3->setFont(FontFitting(label3->font(), label3->text(), 304 - 256));
  label3->adjustSize();

  edit2_ = AddIntegerEdit("Edit2", 304, "Precision", 1);
  up_down1_ = AddUpDown(edit2_, "UpDown1", 326, "Precision", 1, 200, 1);

  connect(max_step_button_, &QLineEdit::textChanged, this, &TMDIForm::MaxStepButtonChange);
  connect(edit2_, &QLineEdit::textChanged, this, &TMDIForm::Edit2Change);
  new_button->setFocus();
  setTabOrder(new_button, buttons_["OpenMeshButton"]);
}

// ---- Start-up, command state, close ---------------------------------------

void TMDIForm::FormCreate() {
  settings_ = Settings();  // NodeSize, sheet sizes, colours, flag values
  MeshSaved = true;
  MeshFileName = kDefaultMeshFileName;
  FirstFileName.clear();
  SecondFileName.clear();
  FrameListOpen = 0;
  KancelFlag = 0;
  TitleText = windowTitle();
  settings_.FrameCount = static_cast<std::uint16_t>(
      ToolkitStrToInt(max_step_button_->text().toStdString()).value_or(12));
  settings_.Precision =
      static_cast<std::uint16_t>(ToolkitStrToInt(edit2_->text().toStdString()).value_or(1));
  FillSineTable(FlagSineTable, settings_.FlagRadius);
  UpdateCommandState();
  settings_.Equalize = 1;

  if (std::optional<std::string> message =
          LoadSettings(settings_path_.toStdString(), settings_)) {
    dialogs_.Message(this, ApplicationTitle(), QString::fromStdString(*message));
  } else {
    max_step_button_->setText(QString::number(settings_.FrameCount));
    edit2_->setText(QString::number(settings_.Precision));
  }

  if (options_.show_about_box) AboutClick();
  MeshFileName = kDefaultMeshFileName;
  NewMeshClick();
}

void TMDIForm::UpdateCommandState() {
  const bool first = first_child_ != nullptr;
  const bool second = second_child_ != nullptr;
  const bool vesk = vesk_child_ != nullptr;
  const bool any = first || second || vesk;
  auto set = [this](std::initializer_list<const char*> items,
                    std::initializer_list<const char*> buttons, bool enabled) {
    for (const char* i : items) items_.at(i)->setEnabled(enabled);
    for (const char* b : buttons) buttons_.at(b)->setEnabled(enabled);
  };
  set({"PrintVeskImage1"}, {}, vesk);
  set({"SaveVeskImageAs"}, {}, vesk);
  set({"Copy"}, {}, any);
  set({"Paste"}, {}, ClipboardHasBitmap() && any);
  set({"CopyVesk2First"}, {"CopyF2PButton"}, vesk && first);
  set({"CopyVesk2Second"}, {"CopyS2PButton"}, vesk && second);
  set({"SwapMorphMesh"}, {"SwapButton"}, !mesh_.TriangleList().empty() || !mesh_.NodeList().empty());
  set({"SheetGlass", "FlagStreaming1"}, {"SheetGlassButton", "FlagButton"}, first || second);
  set({"Colorize1", "Distorsion1", "Ombrix1"}, {"BitBtn1", "DistorsionButton", "MorphButton"},
      first && second);
  set({"ArrangeIcons1", "Tile1", "Cascade1"}, {}, any);
  set({"NewGridMesh", "AutoMesh"}, {}, first && second);
  set({"FitSecondToFirst"}, {}, PictureSizesDiffer());
  set({"TriangulateNodes"}, {}, !mesh_.NodeList().empty());
  set({"Caricature"}, {}, first);
  set({"ZoomIn1", "ZoomOut1", "FitWindow1", "ActualPixels1"}, {}, any);
  ShowFoldOverCount();
  emit InputsChanged();
}

void TMDIForm::ShowCoords(int x, int y) {
  label1_->setText(CoordinateCaption(x, y));
  label1_->adjustSize();
}

bool TMDIForm::FormCloseQuery() {
  if (run_active_) return false;
  return SequenceWindowsClosed() && MeshMayBeDropped();
}

void TMDIForm::FormClose() {
  for (TChildForm* child : {first_child_, second_child_, vesk_child_}) {
    if (child) child->SetBitmap(Bitmap());
  }
  mesh_.FreeMesh();
  mesh_.InitMesh();
  // A settings file the user made read-only is kept as it is, silently.
  if (WriteProtected(settings_path_.toStdString())) return;
  Status saved = SaveSettings(settings_path_.toStdString(), settings_);
  if (!saved) ReportError(saved.Message());
}

void TMDIForm::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  FormClose();
  kancel_form_->hide();
  event->accept();
}

void TMDIForm::Exit1Click() { close(); }

QString TMDIForm::ErrorText(const std::exception& error) {
  if (dynamic_cast<const std::bad_alloc*>(&error)) return "Out of memory";
  return QString::fromLocal8Bit(error.what());
}

void TMDIForm::RunCommand(void (TMDIForm::*handler)()) {
  // An error that escapes a command is shown and the program goes on.
  try {
    (this->*handler)();
  } catch (const std::exception& error) {
    ReportError(ErrorText(error).toStdString());
  }
}

void TMDIForm::ReportError(const std::string& message) {
  QString text = QString::fromStdString(message);
  if (!text.endsWith('.')) text += '.';
  dialogs_.Error(this, ApplicationTitle(), text);
}

// ---- Windows ---------------------------------------------------------------

TChildForm* TMDIForm::OtherImageWindow(int kind) const {
  if (kind == kFirstImage) return second_child_;
  if (kind == kSecondImage) return first_child_;
  return nullptr;
}

TChildForm* TMDIForm::ActiveChild() const {
  QMdiSubWindow* current = mdi_area_->currentSubWindow();
  for (TChildForm* child : {first_child_, second_child_, vesk_child_}) {
    if (child && child == current) return child;
  }
  return nullptr;
}

void TMDIForm::DestroyChild(TChildForm*& slot) {
  if (!slot) return;
  TChildForm* old = slot;
  slot = nullptr;
  mdi_area_->removeSubWindow(old);
  delete old;
}

GenerationSetup TMDIForm::CurrentGenerationSetup() const {
  GenerationSetup setup = GenerationSetupOf(settings_);
  setup.renderer = renderer_;
  setup.curves = timing_.curves;
  setup.hold = timing_.hold;
  return setup;
}

void TMDIForm::RedrawImageWindows() {
  if (first_child_) first_child_->DrawMesh();
  if (second_child_) second_child_->DrawMesh();
}

void TMDIForm::Tile1Click() {
  // Vertical tiling: the image windows side by side, each as high as the
  // client area; minimized windows keep their place.
  QList<QMdiSubWindow*> shown;
  for (QMdiSubWindow* w : mdi_area_->subWindowList(QMdiArea::CreationOrder)) {
    if (!w->isMinimized() && w->isVisible()) shown << w;
  }
  if (shown.isEmpty()) return;
  const QRect area = mdi_area_->viewport()->rect();
  const int n = static_cast<int>(shown.size());
  int left = 0;
  for (int i = 0; i < n; ++i) {
    int right = area.width() * (i + 1) / n;
    if (shown[i]->isMaximized()) shown[i]->showNormal();
    shown[i]->setGeometry(left, 0, right - left, area.height());
    left = right;
  }
}

void TMDIForm::Cascade1Click() { mdi_area_->cascadeSubWindows(); }

void TMDIForm::ArrangeIcons1Click() {
  // Minimized windows in a row along the bottom of the client area.
  const QRect area = mdi_area_->viewport()->rect();
  int left = 0;
  for (QMdiSubWindow* w : mdi_area_->subWindowList(QMdiArea::CreationOrder)) {
    if (!w->isMinimized()) continue;
    QSize size = w->size();
    w->move(left, area.height() - size.height());
    left += size.width();
  }
}

void TMDIForm::AboutClick() {
  TAboutBox about(this);
  about.exec();
}

// ---- Generation controls ---------------------------------------------------

void TMDIForm::TakeIntegerEdit(QLineEdit* edit, std::uint16_t& field, int max) {
  IntegerEditChange change = ApplyIntegerEdit(edit->text().toStdString(), field, 1, max);
  field = static_cast<std::uint16_t>(change.value);
  QString text = QString::number(change.value);
  if (change.restore_text && edit->text() != text) edit->setText(text);
  emit InputsChanged();
}

void TMDIForm::MaxStepButtonChange() {
  TakeIntegerEdit(max_step_button_, settings_.FrameCount, 100);
}

void TMDIForm::Edit2Change() { TakeIntegerEdit(edit2_, settings_.Precision, 1000); }

// ---- Image commands ----------------------------------------------------------

void TMDIForm::SaveVeskImageAsClick() {
  // Saving a picture says nothing about the mesh: MeshSaved stays.
  if (vesk_child_) SaveVeskImageAs(this, dialogs_, vesk_child_->PictureBitmap());
  UpdateCommandState();
}

QPrinter& TMDIForm::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>();
  return *printer_;
}

void TMDIForm::PrintVeskImage1Click() {
  if (!vesk_child_) return;
  PrintBitmap(this, dialogs_, Printer(), vesk_child_->PictureBitmap());
}

void TMDIForm::PrinterSetup1Click() { RunPrinterSetup(this, dialogs_, Printer()); }

void TMDIForm::CopyClick() {
  if (TChildForm* active = ActiveChild()) CopyBitmapToClipboard(active->GetBitmap());
  UpdateCommandState();
}

void TMDIForm::PasteClick() {
  if (const std::string too_large = ClipboardImageSizeProblem(); !too_large.empty()) {
    ReportError(too_large);  // the window keeps its picture
  } else if (std::optional<Bitmap> pasted = BitmapFromClipboard()) {
    if (TChildForm* active = ActiveChild()) active->SetBitmap(std::move(*pasted));
  } else {
    dialogs_.Information(this, ApplicationTitle(), "There is no bitmap on the Clipboard");
  }
  UpdateCommandState();
  RedrawImageWindows();
}

void TMDIForm::CopyVeskTo(TChildForm* target) {
  if (!vesk_child_ || !target) return;
  target->SetBitmap(vesk_child_->PictureBitmap());
  RedrawImageWindows();
}

void TMDIForm::CopyVesk2FirstClick() { CopyVeskTo(first_child_); }
void TMDIForm::CopyVesk2SecondClick() { CopyVeskTo(second_child_); }

void TMDIForm::IndexClick() { ShowHelpIndex(this, dialogs_, kHelpFile); }

void TMDIForm::AnimationsClick() { RunAnimationsCommand(this, dialogs_); }

void TMDIForm::OptionsClick() {
  {
    TOptionsForm options(settings_, this, renderer_, timing_);
    options.exec();
    Settings edited = options.Values();
    // The dialog edits everything but the two values of the tool panel.
    edited.FrameCount = settings_.FrameCount;
    edited.Precision = settings_.Precision;
    settings_ = edited;
    if (options.Rendering() != renderer_) {
      renderer_ = options.Rendering();
      StoreRenderer(renderer_);
    }
    if (options.Timing() != timing_) {
      timing_ = options.Timing();
      StoreTiming(timing_);
    }
  }
  RedrawImageWindows();
}

}  // namespace vesk
