// The main window `TMDIForm`: a multiple-document frame with the tool panel
// `Panel1` across its top, the main menu and the client area in which the
// three image windows live. It holds the program's state (settings, mesh,
// file names, MeshSaved, the image windows), runs every command of the menu
// and the tool panel, and enables them from that state in one place,
// UpdateCommandState.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <span>

#include "app/user_dialogs.h"
#include "app/user_settings.h"
#include "core/common/result.h"
#include "core/effects/sine_table.h"
#include "core/mesh/mesh_model.h"
#include "core/settings/settings.h"

class QAction;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMenu;
class QPrinter;
class QToolButton;
class QFrame;

namespace vesk {

class FrameOutput;
class KancelRun;
class MeshUndo;
struct MeshUndoState;
class StepExchange;
class TChildForm;
class TKancelForm;
class TUpDown;
class UserDialogs;
class Bitmap;
class SequenceWindow;
struct PairInPlace;
enum class Glyph;
enum class ImageWindow;
struct EffectSource;
struct GenerationSetup;
enum class Renderer;
struct TrianglePositions;

class TMDIForm : public QMainWindow {
  Q_OBJECT

 public:
  struct Options {
    // Start-up shows the About box modally; tests may leave it out.
    bool show_about_box = true;
    // The settings file, read at start-up and written at close. A relative
    // name is taken in the current folder at start-up.
    QString settings_file = "Trelvanique.ini";
  };

  explicit TMDIForm(UserDialogs& dialogs);
  TMDIForm(UserDialogs& dialogs, Options options);
  ~TMDIForm() override;

  // ---- State ------------------------------------------------------------
  Mesh& MeshModel() { return mesh_; }
  const Mesh& MeshModel() const { return mesh_; }
  // The undo history of the mesh; every mesh change is one of its steps,
  // and MeshSaved follows its clean state.
  MeshUndo& Undo() { return *undo_; }
  const Settings& CurrentSettings() const { return settings_; }
  // The morph's and the distortion's values: the settings' with the
  // renderer and the timing chosen in the Options dialog.
  GenerationSetup CurrentGenerationSetup() const;
  void SetSettings(const Settings& settings) { settings_ = settings; }
  static QString ApplicationTitle() { return "Trelvanique"; }

  bool MeshSaved = true;
  std::uint8_t FrameListOpen = 0;
  QString FirstFileName;
  QString SecondFileName;
  QString MeshFileName;
  QString TitleText;
  SineTable FlagSineTable{};

  TChildForm* FirstChild() const { return first_child_; }
  TChildForm* SecondChild() const { return second_child_; }
  TChildForm* VeskChild() const { return vesk_child_; }
  // SecondChild for kind 1, FirstChild for kind 2, none otherwise.
  TChildForm* OtherImageWindow(int kind) const;
  // The active image window (any kind), or none.
  TChildForm* ActiveChild() const;
  TKancelForm& KancelForm() const { return *kancel_form_; }
  QMdiArea* MdiArea() const { return mdi_area_; }
  // How many times the end of Sheet Glass has sounded the beep.
  int BeepCount() const { return beep_count_; }

  // ---- Part of the window's life ---------------------------------------
  void FormCreate();
  bool FormCloseQuery();
  void FormClose();
  void UpdateCommandState();
  // The coordinate label shows (x:y) after a mouse move in an image window.
  void ShowCoords(int x, int y);

  // ---- Commands ---------------------------------------------------------
  void OpenFirstClick();
  void OpenSecondClick();
  void NewMeshClick();
  void OpenMeshClick();
  // false when the save failed with an error (declining to overwrite is
  // not an error).
  bool SavemeshClick();
  void SaveMashAsClick();
  void SaveVeskImageAsClick();
  void PrintVeskImage1Click();
  void PrinterSetup1Click();
  void Exit1Click();
  void CopyClick();
  void PasteClick();
  void CopyVesk2FirstClick();
  void CopyVesk2SecondClick();
  void SwapMorphMeshClick();
  void UndoClick();
  void RedoClick();
  // Zoom of the active image window; linking makes the first and the
  // second image window share zoom and scroll position.
  void ZoomIn1Click();
  void ZoomOut1Click();
  void FitWindow1Click();
  void ActualPixels1Click();
  void LinkWindows1Click();
  // An image window's zoom or scroll position was changed by the user.
  void ImageViewChanged(TChildForm* child);
  void SheetGlassClick();
  void Colorize1Click();
  void FlagStreaming1Click();
  void Distorsion1Click();
  void Ombrix1Click();
  void AnimationsClick();
  void OptionsClick();
  // Opens (or brings up) the non-modal preview window.
  void PreviewClick();
  void Tile1Click();
  void Cascade1Click();
  void ArrangeIcons1Click();
  void IndexClick();
  void AboutClick();

  // The change handlers of the frame-count and precision edits.
  void MaxStepButtonChange();
  void Edit2Change();

  // ---- Quick meshes and the fold-over warning (quick_mesh_commands.cpp) --
  void NewGridMeshClick();
  void TriangulateNodesClick();
  // Every mesh change of these commands goes through here: `edit` changes
  // the mesh (`step_name` names the step, e.g. "New grid mesh"); then no
  // drag goes on, the mesh counts as changed and the windows follow.
  void ApplyMeshEdit(const QString& step_name, const std::function<void(Mesh&)>& edit);
  // The same for a step that also swaps in what `exchange` holds (a picture).
  void ApplyMeshEdit(const QString& step_name, std::unique_ptr<StepExchange> exchange,
                     const std::function<void(Mesh&)>& edit);
  // The status bar's "Folded triangles: N".
  void ShowFoldOverCount();
  // The status bar's account of the mesh in place (Auto Mesh's summary, or
  // nothing), kept with each undo step.
  void ShowMeshReport(const QString& report);
  // Auto Mesh (auto_mesh_commands.cpp): the mesh from the points the
  // matching library finds; what it found goes to the status bar.
  void AutoMeshClick();
  // Averages and caricatures (average_faces_commands.cpp,
  // caricature_commands.cpp): the result goes to a new Vesk window.
  void AverageFacesClick();
  void CaricatureClick();

  // ---- Pictures of different sizes (picture_fit_commands.cpp) -----------
  // Fit Second Image to First: the second picture fitted to the first's
  // size as the sequence fits pictures, its nodes moved with it, one step.
  // The fitted picture is not a file until a mesh save asks for its name.
  void FitSecondToFirstClick();

  // ---- Opening by name (open_files.cpp) ---------------------------------
  // Opens files given on the command line or dropped on the window: a
  // ".mesh" file as Open Morph Mesh does, pictures as the first and second
  // image (a single picture: the first image when none is open, else the
  // second).
  void OpenFiles(const QStringList& files);
  // Open Morph Mesh after its dialog.
  void OpenMeshFile(const QString& file_name);
  // ---- Sequences (sequence_commands.cpp) ---------------------------------
  // File > New Sequence: an empty sequence window.
  void NewSequenceClick();
  // File > Open Sequence: a sequence file, or pictures (any number) that
  // make a new sequence.
  void OpenSequenceClick();
  // A sequence window on `pictures`, or on the sequence file (none when it
  // cannot be read, after its message).
  SequenceWindow* OpenSequenceWindow(const QStringList& pictures);
  SequenceWindow* OpenSequenceFile(const QString& file_name);
  // Puts a pair of `sequence` into the first and second image windows, its
  // mesh in place of the mesh (asked about first when it is not a pair's);
  // false when the user keeps the mesh.
  bool EditSequencePair(SequenceWindow* sequence, const PairInPlace& pair);
  // The sequence window whose pair is in the image windows, while it is.
  SequenceWindow* SequencePairOwner() const;
  // Closes every sequence window, each asking about its unsaved changes;
  // false when one stays open.
  bool SequenceWindowsClosed();
  // A saved sequence goes into the recent list.
  void RememberSequence(const QString& file_name) { RememberMesh(file_name); }

  // The "Recent meshes" submenu, newest first.
  QMenu* RecentMeshesMenu() const { return recent_menu_; }

 signals:
  // The pictures, the mesh or the generation settings may have changed
  // (sent on every overlay redraw, node drags included, and command-state
  // update); the preview follows it.
  void InputsChanged();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void SavemeshClickCommand() { SavemeshClick(); }
  // True when the first and the second image are open and of other sizes.
  bool PictureSizesDiffer() const;
  // Before Auto Mesh: on pictures of different sizes, whether to fit the
  // second to the first first (Yes, No, or Cancel for no Auto Mesh); No
  // when the sizes agree.
  Answer AskFitBeforeAutoMesh();
  // Before a mesh save: a fitted second picture not yet saved is saved as a
  // BMP file the user names, which the mesh then names. Nothing when the
  // user cancelled; else whether the mesh may be written (false: the error
  // was shown).
  std::optional<bool> SaveFittedSecondImage();
  void BuildMenu();
  void BuildUndoItems(QMenu* edit);
  void BuildViewMenu(QMenu* view);
  MeshUndoState CaptureMeshState() const;
  void RestoreMeshState(const MeshUndoState& state);
  // The bodies of New and Open Morph Mesh, each run as one undo step.
  void ClearMeshAndRedraw();
  // True when a mesh file was read.
  bool LoadMeshFile(const QString& file_name);
  // Open Morph Mesh after the save question: reading `file_name` as one step.
  void OpenMeshStep(const QString& file_name);
  void BuildToolPanel();
  QAction* AddItem(QMenu* menu, const char* name, const QString& caption,
                   const QKeySequence& shortcut, void (TMDIForm::*handler)());
  void AddDivider(QMenu* menu, const char* name);
  QToolButton* AddButton(const char* name, int left, int top, Glyph glyph, const QString& hint,
                         void (TMDIForm::*handler)());
  QLineEdit* AddIntegerEdit(const char* name, int left, const QString& hint, int value);
  TUpDown* AddUpDown(QLineEdit* associate, const char* name, int left, const QString& hint,
                     int min, int max, int position);
  // The change handler of an integer edit: a number in 1..max is taken
  // into `field`, anything else puts the field's number back.
  void TakeIntegerEdit(QLineEdit* edit, std::uint16_t& field, int max);
  void FillWindowList();
  void CentreOnScreen();

  // Opens one image window of kind 1 or 2 from `file_name` into `slot`,
  // replacing the window there; the slot is none when loading fails.
  void OpenImageWindow(TChildForm*& slot, int kind, const QString& file_name);
  // The same with the picture put in by `load` (false: it failed).
  void OpenImageWindow(TChildForm*& slot, int kind, const std::function<bool(TChildForm&)>& load);
  void OpenImageCommand(TChildForm*& slot, QString& file_name_field, int kind);
  // Open First or Second image after its dialog.
  void OpenImageFile(TChildForm*& slot, QString& file_name_field, int kind,
                     const QString& file_name);
  void BuildStatusBar();
  void FillRecentMeshes();
  // Puts a mesh file at the top of "Recent meshes".
  void RememberMesh(const QString& file_name);
  void DestroyChild(TChildForm*& slot);
  // The caption: TitleText, a blank and MeshFileName.
  void ShowMeshCaption();
  // Before an edited mesh would go (close, New, Open): "Do you want to save
  // the mesh ?" with Yes, No and Cancel. True when the mesh may go: it was
  // saved, the user said No, or it was unchanged.
  bool MeshMayBeDropped();
  // The New mesh steps without the question; the mesh then counts as saved.
  TChildForm* NewVeskChild();

  // The generation commands' shared steps. An engine fills the Vesk bitmap
  // through the run protocol.
  using Engine = std::function<Status(KancelRun& run, Bitmap& vesk)>;
  using MeshEngine = std::function<Status(std::span<const TrianglePositions> triangles,
                                          const GenerationSetup& setup, KancelRun& run,
                                          Bitmap& vesk)>;
  // True when the first and the second image are open; otherwise says
  // "First and Second image not open".
  bool BothImagesOpen();
  void ShowImagesNotOpen();
  // Runs `engine` with the progress window, then gives the Vesk window the
  // result, reports an error that ended the run, closes the frame list
  // (when `output` is given) and updates the command state.
  void RunEngine(FrameOutput* output, const Engine& engine);
  // Ombrix and Distorsion: check, frame list, new Vesk window, run.
  void RunMeshCommand(const MeshEngine& engine);
  // The source that `rule` picks from the open and the active windows; when
  // there is none, says "First and Second image not open".
  EffectSource EffectSourceOf(EffectSource (*rule)(bool, bool, ImageWindow));
  // The effect's source window, made the active one when it must be.
  TChildForm* EffectSourceWindow(const EffectSource& source);
  void RedrawImageWindows();
  void CopyVeskTo(TChildForm* target);

  // The frame-list dialog of the frame-producing commands. False when the
  // chosen list could not be created (reported; the command ends there).
  bool OpenFrameList(FrameOutput& output);
  void CloseFrameList(FrameOutput& output, bool run_failed);
  // Shows an error that ends a command: the application title, a stop icon
  // and the message followed by a period.
  void ReportError(const std::string& message);
  // Runs a command of the menu or the tool panel; an error escaping it is
  // reported with ReportError.
  void RunCommand(void (TMDIForm::*handler)());
  static QString ErrorText(const std::exception& error);
  void ShowVeskFrame(const Bitmap& frame);
  QPrinter& Printer();

  UserDialogs& dialogs_;
  Options options_;
  QString settings_path_;
  Settings settings_;
  Renderer renderer_;  // kept apart from the settings file (user_settings.h)
  RunTiming timing_;   // likewise
  Mesh mesh_;
  QString mesh_report_;  // ShowMeshReport
  std::unique_ptr<MeshUndo> undo_;
  bool run_active_ = false;
  int beep_count_ = 0;

  TChildForm* first_child_ = nullptr;
  TChildForm* second_child_ = nullptr;
  TChildForm* vesk_child_ = nullptr;
  std::unique_ptr<TKancelForm> kancel_form_;
  std::unique_ptr<QPrinter> printer_;

  QMdiArea* mdi_area_ = nullptr;
  QFrame* panel1_ = nullptr;
  QLabel* label1_ = nullptr;
  QLineEdit* max_step_button_ = nullptr;
  QLineEdit* edit2_ = nullptr;
  TUpDown* up_down_max_step_ = nullptr;
  TUpDown* up_down1_ = nullptr;
  QMenu* window_menu_ = nullptr;
  std::map<QString, QAction*> items_;
  std::map<QString, QToolButton*> buttons_;
  QList<QAction*> window_list_;
  QLabel* fold_over_label_ = nullptr;
  QMenu* recent_menu_ = nullptr;
  int grid_columns_ = 10;
  int grid_rows_ = 10;
  // Auto Mesh's last choice: the method's place in its list, the spacing.
  int auto_mesh_method_ = 0;
  int auto_mesh_spacing_ = 0;
  // The last choices of Average Faces and Caricature.
  AverageFacesChoice average_choice_;
  double caricature_amount_ = 2;
  QPointer<QObject> sequence_pair_owner_;  // a SequenceWindow
};

}  // namespace vesk
