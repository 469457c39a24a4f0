// The main window's frame-producing and effect commands: Ombrix (the
// morph), Distorsion, Sheet Glass, Colorize and Flag Streaming. Each checks
// its images, asks for the frame list where it writes frames, replaces the
// Vesk window by a new one, and runs its engine with the progress window;
// the engine paints, and the Vesk window shows every frame as it comes.
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>

#include "app/child_form.h"
#include "app/kancel_form.h"
#include "app/main_window.h"
#include "app/user_dialogs.h"
#include "core/effects/colorize.h"
#include "core/effects/effect_source.h"
#include "core/effects/flag_streaming.h"
#include "core/effects/sheet_glass.h"
#include "core/generate/distortion.h"
#include "core/generate/frame_output.h"
#include "core/generate/generation_input.h"
#include "core/generate/morph.h"

namespace vesk {
namespace {

constexpr char kFrameListFilter[] = "Animation Files|*.any|All Files|*.*";
constexpr char kVeskErrorCaption[] = "Vesk Error";
constexpr char kImagesNotOpen[] = "First and Second image not open";

// Marks a run for the close query and clears the mark however it ends.
class RunMark {
 public:
  explicit RunMark(bool& flag) : flag_(flag) { flag_ = true; }
  ~RunMark() { flag_ = false; }
  RunMark(const RunMark&) = delete;
  RunMark& operator=(const RunMark&) = delete;

 private:
  bool& flag_;
};

}  // namespace

bool TMDIForm::OpenFrameList(FrameOutput& output) {
  std::optional<QString> chosen =
      dialogs_.SaveFileName(this, QString(), kFrameListFilter, QString());
  if (!chosen) {
    // The command still runs and shows its frames, but writes no file.
    FrameListOpen = 0;
    return true;
  }
  Status opened = output.Open(chosen->toStdString());
  if (!opened) {
    FrameListOpen = 0;
    ReportError(opened.Message());
    return false;
  }
  FrameListOpen = 1;
  return true;
}

void TMDIForm::CloseFrameList(FrameOutput& output, bool run_failed) {
  if (FrameListOpen != 1) return;
  Status closed = output.Close(run_failed);
  if (!closed) ReportError(closed.Message());
}

TChildForm* TMDIForm::NewVeskChild() {
  DestroyChild(vesk_child_);
  auto* child = new TChildForm(*this, dialogs_);
  child->setObjectName("VeskChild");
  child->ImageKind = 3;
  vesk_child_ = child;
  mdi_area_->addSubWindow(child);
  child->show();
  return child;
}

void TMDIForm::ShowVeskFrame(const Bitmap& frame) {
  if (!vesk_child_) return;
  vesk_child_->SetBitmap(frame);
  vesk_child_->Image1()->repaint();
}

bool TMDIForm::BothImagesOpen() {
  if (first_child_ && second_child_) return true;
  ShowImagesNotOpen();
  return false;
}

void TMDIForm::ShowImagesNotOpen() { dialogs_.Message(this, kVeskErrorCaption, kImagesNotOpen); }

void TMDIForm::RunEngine(FrameOutput* output, const Engine& engine) {
  Bitmap vesk;
  KancelRun::WriteHook write;
  if (output) write = [output](const Bitmap& frame) { return output->WriteFrame(frame); };
  KancelRun run(
      *kancel_form_, *this, [this](const Bitmap& frame) { ShowVeskFrame(frame); }, write);
  // The effects' pictures grow on the screen column by column.
  run.SetColumnsHook([this](const Bitmap& picture, int x_begin, int x_end) {
    if (vesk_child_) vesk_child_->Image1()->ShowColumns(picture, x_begin, x_end);
  });
  Status done = Status::Success();
  try {
    done = engine(run, vesk);
  } catch (const std::exception& error) {
    // A picture too large for the memory ends the run like any failure.
    done = Failure{ErrorText(error).toStdString()};
  }
  if (vesk_child_ && !vesk.Empty()) vesk_child_->SetBitmap(std::move(vesk));
  if (!done) ReportError(done.Message());
  if (output) CloseFrameList(*output, !done);
  UpdateCommandState();
}

void TMDIForm::RunMeshCommand(const MeshEngine& engine) {
  if (!BothImagesOpen()) return;
  FrameOutput output;
  if (!OpenFrameList(output)) return;
  KancelFlag = 0;
  RunMark mark(run_active_);
  NewVeskChild();

  const std::vector<TrianglePositions> triangles = TrianglePositionsOf(mesh_);
  const GenerationSetup setup = CurrentGenerationSetup();
  RunEngine(&output, [&](KancelRun& run, Bitmap& vesk) {
    return engine(triangles, setup, run, vesk);
  });
}

void TMDIForm::Ombrix1Click() {
  RunMeshCommand([this](std::span<const TrianglePositions> triangles,
                        const GenerationSetup& setup, KancelRun& run, Bitmap& vesk) {
    return RunMorph(first_child_->GetBitmap(), second_child_->GetBitmap(), triangles, setup,
                    vesk, run);
  });
}

void TMDIForm::Distorsion1Click() {
  RunMeshCommand([this](std::span<const TrianglePositions> triangles,
                        const GenerationSetup& setup, KancelRun& run, Bitmap& vesk) {
    return RunDistortion(first_child_->GetBitmap(), triangles, setup, vesk, run);
  });
}

namespace {

ImageWindow KindOfWindow(const TMDIForm& form, const TChildForm* child) {
  if (!child) return ImageWindow::kNone;
  if (child == form.FirstChild()) return ImageWindow::kFirst;
  if (child == form.SecondChild()) return ImageWindow::kSecond;
  if (child == form.VeskChild()) return ImageWindow::kVesk;
  return ImageWindow::kNone;
}

}  // namespace

EffectSource TMDIForm::EffectSourceOf(EffectSource (*rule)(bool, bool, ImageWindow)) {
  EffectSource source = rule(first_child_ != nullptr, second_child_ != nullptr,
                             KindOfWindow(*this, ActiveChild()));
  if (source.source == ImageWindow::kNone) ShowImagesNotOpen();
  return source;
}

TChildForm* TMDIForm::EffectSourceWindow(const EffectSource& source) {
  TChildForm* child = source.source == ImageWindow::kFirst ? first_child_ : second_child_;
  if (source.activate) mdi_area_->setActiveSubWindow(child);
  return child;
}

void TMDIForm::SheetGlassClick() {
  const EffectSource source = EffectSourceOf(SheetGlassSource);
  if (source.source == ImageWindow::kNone) return;
  KancelFlag = 0;
  RunMark mark(run_active_);
  TChildForm* source_child = EffectSourceWindow(source);
  NewVeskChild();

  RunEngine(nullptr, [&](KancelRun& run, Bitmap& vesk) {
    Status done = SheetGlass(source_child->GetBitmap(), settings_.SheetHorzSize,
                             settings_.SheetVertSize, run, vesk);
    // A run that was not cancelled ends with the beep.
    if (KancelFlag == 0) {
      ++beep_count_;
      QApplication::beep();
    }
    return done;
  });
}

void TMDIForm::Colorize1Click() {
  if (!BothImagesOpen()) return;
  FrameOutput output;
  if (!OpenFrameList(output)) return;
  if (settings_.FrameCount == 1) {
    settings_.FrameCount = RaiseColorizeFrameCount(settings_.FrameCount);
    max_step_button_->setText(QString::number(settings_.FrameCount));
  }
  RunMark mark(run_active_);
  NewVeskChild();
  KancelFlag = 0;

  RunEngine(&output, [this](KancelRun& run, Bitmap& vesk) {
    std::uint16_t frame_count = settings_.FrameCount;
    return Colorize(first_child_->GetBitmap(), second_child_->GetBitmap(), frame_count, run,
                    vesk);
  });
}

void TMDIForm::FlagStreaming1Click() {
  const EffectSource source = EffectSourceOf(FlagStreamingSource);
  if (source.source == ImageWindow::kNone) return;
  const FlagStreamingValues values = FlagStreamingValuesFrom(settings_);
  {
    const TChildForm* source_child =
        source.source == ImageWindow::kFirst ? first_child_ : second_child_;
    const Bitmap& picture = source_child->GetBitmap();
    // A frame beyond the size limit is refused before anything is asked.
    if (Status size = CheckFlagFrameSize(picture.Width(), picture.Height(), values.flag_radius);
        !size) {
      ReportError(size.Message());
      return;
    }
  }
  FrameOutput output;
  if (!OpenFrameList(output)) return;
  FillSineTable(FlagSineTable, settings_.FlagRadius);
  KancelFlag = 0;
  RunMark mark(run_active_);
  TChildForm* source_child = EffectSourceWindow(source);
  NewVeskChild();

  RunEngine(&output, [&](KancelRun& run, Bitmap& vesk) {
    return FlagStreaming(source_child->GetBitmap(), values, run, vesk);
  });
}

}  // namespace vesk
