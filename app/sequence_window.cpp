#include "app/sequence_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QUndoStack>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "app/file_drop.h"
#include "app/kancel_form.h"
#include "app/main_window.h"
#include "app/mesh_undo.h"
#include "app/sequence_pair_mesher.h"
#include "app/sequence_player.h"
#include "app/user_dialogs.h"
#include "core/image/picture_file.h"
#include "core/sequence/sequence_file.h"
#include "pictures/image_convert.h"
#include "pictures/picture_reader.h"
#include "sequencing/sequence_export.h"
#include "sequencing/sequence_output.h"
#include "sequencing/sequence_pictures.h"
#include "sequencing/sequence_render.h"

namespace vesk {
namespace {

constexpr char kTitle[] = "Sequence";
constexpr int kThumbnailSide = 64;
constexpr char kExportFilter[] =
    "MP4 video|*.mp4|WebM video|*.webm|GIF animation|*.gif|Frame list|*.any";

QString Text(const std::string& text) { return QString::fromStdString(text); }

QString PictureFilter() { return "Pictures|" + Text(PicturePatterns()) + "|All Files|*.*"; }

}  // namespace

// ---- PictureStrip -----------------------------------------------------------

PictureStrip::PictureStrip(QWidget* parent) : QListWidget(parent) {
  setObjectName("PictureList");
  setIconSize(QSize(kThumbnailSide, kThumbnailSide));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  // A drop is answered as a copy, so the view never removes the dragged
  // row itself: the sequence moves the picture and the strip is refilled.
  setDefaultDropAction(Qt::CopyAction);
}

void PictureStrip::keyPressEvent(QKeyEvent* event) {
  const int row = currentRow();
  const bool ctrl = event->modifiers() == Qt::ControlModifier;
  if (ctrl && event->key() == Qt::Key_Up && row > 0) {
    emit MoveAsked(row, row - 1);
  } else if (ctrl && event->key() == Qt::Key_Down && row >= 0 && row + 1 < count()) {
    emit MoveAsked(row, row + 1);
  } else if (event->key() == Qt::Key_Delete && row >= 0) {
    emit RemoveAsked(row);
  } else if (event->key() == Qt::Key_Insert) {
    emit AddAsked(row < 0 ? count() : row);
  } else {
    QListWidget::keyPressEvent(event);
    return;
  }
  event->accept();
}

void PictureStrip::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls() || event->source() == this) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
  }
}

void PictureStrip::dragMoveEvent(QDragMoveEvent* event) {
  QListWidget::dragMoveEvent(event);
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void PictureStrip::dropEvent(QDropEvent* event) {
  const QPoint point = event->position().toPoint();
  const QModelIndex at = indexAt(point);
  int before = count();
  if (at.isValid()) before = at.row() + (point.y() > visualRect(at).center().y() ? 1 : 0);
  event->setDropAction(Qt::CopyAction);
  event->accept();
  if (event->source() == this) {
    const int from = currentRow();
    const int to = std::min(before > from ? before - 1 : before, count() - 1);
    if (from >= 0 && to != from) emit MoveAsked(from, to);
    return;
  }
  QStringList files;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) files << url.toLocalFile();
  }
  if (!files.isEmpty()) emit FilesDropped(files, before);
}

// ---- SequenceWindow ---------------------------------------------------------

SequenceWindow::SequenceWindow(TMDIForm& owner, UserDialogs& dialogs)
    : QWidget(&owner, Qt::Window), owner_(owner), dialogs_(dialogs) {
  setObjectName("SequenceWindow");
  setAttribute(Qt::WA_DeleteOnClose);
  resize(900, 520);
  reader_.setMaxThreadCount(1);
  mesher_ = std::make_unique<SequencePairMesher>(
      [this](const PairMeshResult& result) { MeshDone(result); });

  auto button = [this](const char* name, const QString& caption, auto handler) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    connect(b, &QPushButton::clicked, this, handler);
    buttons_[name] = b;
    return b;
  };

  // A list under its label, with a row of buttons below.
  auto column = [](const QString& caption, QListWidget* list, QHBoxLayout* buttons) {
    auto* label = new QLabel(caption);
    label->setBuddy(list);
    auto* layout = new QVBoxLayout;
    layout->addWidget(label);
    layout->addWidget(list, 1);
    layout->addLayout(buttons);
    return layout;
  };
  pictures_ = new PictureStrip(this);
  auto* picture_buttons = new QHBoxLayout;
  picture_buttons->addWidget(button("AddButton", "A&dd...", [this] {
    emit pictures_->AddAsked(pictures_->currentRow() < 0 ? pictures_->count()
                                                         : pictures_->currentRow() + 1);
  }));
  picture_buttons->addWidget(
      button("RemoveButton", "&Remove", [this] { RemovePicture(pictures_->currentRow()); }));
  picture_buttons->addWidget(button("UpButton", "&Up", [this] {
    MovePicture(pictures_->currentRow(), pictures_->currentRow() - 1);
  }));
  picture_buttons->addWidget(button("DownButton", "Do&wn", [this] {
    MovePicture(pictures_->currentRow(), pictures_->currentRow() + 1);
  }));
  picture_buttons->addWidget(
      button("LocateButton", "&Locate...", [this] { LocatePicture(pictures_->currentRow()); }));
  QVBoxLayout* picture_column =
      column("Pic&tures (Ctrl+Up/Down moves, Del removes, Ins adds)", pictures_, picture_buttons);

  pairs_ = new QListWidget(this);
  pairs_->setObjectName("PairList");
  pairs_->setWordWrap(true);
  auto* pair_buttons = new QHBoxLayout;
  pair_buttons->addWidget(
      button("EditPairButton", "&Edit Pair", [this] { OpenPair(pairs_->currentRow()); }));
  pair_buttons->addWidget(button("MeshAgainButton", "Auto &Mesh Again", [this] {
    const int k = pairs_->currentRow();
    if (k < 0 || k >= sequence_.PairCount()) return;
    sequence_.ClearMesh(sequence_.PairAt(k));
    Changed();
  }));
  QVBoxLayout* pair_column =
      column("Pa&irs (double-click or Enter edits one)", pairs_, pair_buttons);

  player_ = new SequencePlayer(this);

  auto* columns = new QHBoxLayout;
  columns->addLayout(picture_column, 2);
  columns->addLayout(pair_column, 3);
  columns->addWidget(player_, 4);
  auto* commands = new QHBoxLayout;
  commands->addWidget(button("OptionsButton", "&Options...", &SequenceWindow::OptionsClick));
  commands->addWidget(button("SaveButton", "&Save", &SequenceWindow::SaveClick));
  commands->addWidget(button("SaveAsButton", "Save &As...", &SequenceWindow::SaveAsClick));
  commands->addWidget(button("ExportButton", "E&xport...", &SequenceWindow::ExportClick));
  status_ = new QLabel(this);
  status_->setObjectName("SequenceStatus");
  commands->addWidget(status_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns, 1);
  layout->addLayout(commands);

  connect(pictures_, &PictureStrip::MoveAsked, this, &SequenceWindow::MovePicture,
          Qt::QueuedConnection);
  connect(pictures_, &PictureStrip::RemoveAsked, this, &SequenceWindow::RemovePicture);
  connect(pictures_, &PictureStrip::AddAsked, this, [this](int before) {
    std::optional<QStringList> chosen =
        dialogs_.OpenFileNames(this, "Add Pictures", PictureFilter());
    if (chosen) AddPictures(*chosen, before);
  });
  connect(pictures_, &PictureStrip::FilesDropped, this, &SequenceWindow::AddPictures,
          Qt::QueuedConnection);
  new FileDropFilter(this, [this](const QStringList& files) { AddPictures(files); });
  connect(pairs_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { OpenPair(pairs_->row(item)); });
  connect(&owner_.Undo().Stack(), &QUndoStack::indexChanged, this, &SequenceWindow::TakeEditedMesh);
  Changed(false);
  ShowCaption();
}

SequenceWindow::~SequenceWindow() {
  mesher_.reset();  // waits for a running match, whose result is dropped
  reader_.waitForDone();
}

std::optional<PairKey> SequenceWindow::PairInEdit() const {
  if (!editing_ || sequence_.PairIndex(*editing_) < 0) return std::nullopt;
  return editing_;
}

bool SequenceWindow::Working() const {
  return mesher_->Busy() || !reading_.empty();
}

QString SequenceWindow::PictureName(int index) const {
  return QFileInfo(Text(sequence_.Picture(index).path)).fileName();
}

void SequenceWindow::ShowCaption() {
  const QString name = file_name_.isEmpty() ? "(not saved)" : QFileInfo(file_name_).fileName();
  setWindowTitle(QString("Sequence - %1%2").arg(name, saved_ ? "" : " *"));
}

// ---- Pictures ---------------------------------------------------------------

void SequenceWindow::AddPictures(const QStringList& files, int before) {
  int at = before < 0 || before > sequence_.PictureCount() ? sequence_.PictureCount() : before;
  for (const QString& file : files)
    sequence_.Add(at++, QFileInfo(file).absoluteFilePath().toStdString());
  Changed();
  pictures_->setCurrentRow(at - 1);
}

void SequenceWindow::RemovePicture(int index) {
  if (index < 0 || index >= sequence_.PictureCount()) return;
  sequence_.Remove(index);
  Changed();
  pictures_->setCurrentRow(std::min(index, sequence_.PictureCount() - 1));
}

void SequenceWindow::MovePicture(int from, int to) {
  const int count = sequence_.PictureCount();
  if (from < 0 || from >= count || to < 0 || to >= count || from == to) return;
  sequence_.Move(from, to);
  Changed();
  pictures_->setCurrentRow(to);
}

void SequenceWindow::LocatePicture(int index) {
  if (index < 0 || index >= sequence_.PictureCount()) return;
  std::optional<QString> chosen =
      dialogs_.OpenFileName(this, "Locate " + PictureName(index), PictureFilter());
  if (!chosen) return;
  read_failures_.erase(sequence_.Picture(index).id);
  sequence_.Relocate(index, QFileInfo(*chosen).absoluteFilePath().toStdString());
  Changed();
}

void SequenceWindow::ReadPictures() {
  for (const SequencePicture& picture : sequence_.Pictures()) {
    if (picture.size || !picture.found || reading_.count(picture.id) ||
        read_failures_.count(picture.id)) {
      continue;
    }
    reading_.insert(picture.id);
    reader_.start([this, id = picture.id, path = picture.path] {
      Result<Bitmap> read = ReadPicture(path);
      QImage thumbnail;
      std::optional<ImageSize> size;
      QString failure;
      if (read) {
        size = ImageSize{read.Value().Width(), read.Value().Height()};
        thumbnail = ToQImage(read.Value())
                        .scaled(kThumbnailSide, kThumbnailSide, Qt::KeepAspectRatio,
                                Qt::SmoothTransformation);
      } else {
        failure = Text(read.Message());
      }
      QMetaObject::invokeMethod(
          this,
          [this, id, path, size, thumbnail, failure] {
            reading_.erase(id);
            const int index = sequence_.IndexOf(id);
            if (index < 0 || sequence_.Picture(index).path != path) return Changed(false);
            thumbnails_[id] = thumbnail;
            if (size) {
              sequence_.SetPictureSize(index, size);
            } else {
              read_failures_[id] = failure;
            }
            Changed(false);
          },
          Qt::QueuedConnection);
    });
  }
}

// ---- Changes and their display ---------------------------------------------

void SequenceWindow::Changed(bool by_user) {
  if (by_user) saved_ = false;
  ReadPictures();
  // A match whose pair no longer waits for it, or waits in another frame,
  // is stopped.
  if (const std::optional<PairMeshRequest>& running = mesher_->Running()) {
    const std::vector<PairKey> waiting = sequence_.PairsToMesh();
    if (std::find(waiting.begin(), waiting.end(), running->key) == waiting.end() ||
        sequence_.Frame() != running->frame) {
      mesher_->Cancel();
    }
  }
  MeshNext();
  Refresh();
  ShowCaption();
  player_->SetSequence(sequence_, TrianglesOfPairs(sequence_, [this](int i) {
                         return PictureName(i).toStdString();
                       }));
}

void SequenceWindow::MeshNext() {
  if (mesher_->Busy()) return;
  if (std::optional<PairMeshRequest> request = NextPairMeshRequest(sequence_)) {
    mesher_->Start(*request);
  }
}

void SequenceWindow::MeshDone(const PairMeshResult& result) {
  bool taken = false;
  if (!result.cancelled) {
    taken = result.made
                ? sequence_.SetAutomaticMesh(result.key, result.mesh, result.text, result.frame)
                : sequence_.SetFailed(result.key, result.text, result.frame);
  }
  Changed(false);
  // The pair in the image windows meshed again (Auto Mesh Again, new
  // options): the windows show its new mesh.
  if (taken && PairInEdit() == result.key && owner_.SequencePairOwner() == this) {
    OpenPair(sequence_.PairIndex(result.key));
  }
}

QString SequenceWindow::PairText(int k) const {
  const PairKey key = sequence_.PairAt(k);
  const int first = sequence_.IndexOf(key.first);
  const int second = sequence_.IndexOf(key.second);
  QString text =
      QString("%1. %2 \u2192 %3: ").arg(k + 1).arg(PictureName(first), PictureName(second));
  const PairMesh& mesh = sequence_.MeshOf(key);
  switch (mesh.state) {
    case PairState::kAutomatic:
      text += "auto, " + Text(mesh.text);
      break;
    case PairState::kEdited:
      text += "edited by hand";
      if (sequence_.Frame() && mesh.frame != *sequence_.Frame()) {
        text += QString(
                    " on pictures placed for %1 x %2 (another size or alignment now: "
                    "edit it again or Auto Mesh Again)")
                    .arg(mesh.frame.size.width)
                    .arg(mesh.frame.size.height);
      }
      break;
    case PairState::kFailed:
      text += "failed: " + Text(mesh.text);
      break;
    case PairState::kNone: {
      const auto& running = mesher_->Running();
      const bool found = sequence_.Picture(first).found && sequence_.Picture(second).found;
      text += running && running->key == key ? "meshing..."
              : found                        ? "waiting for Auto Mesh"
                                             : "waiting for a missing picture";
      break;
    }
  }
  if (PairInEdit() == key) text = "[in the image windows] " + text;
  return text;
}

void SequenceWindow::Refresh() {
  const int picture_row = pictures_->currentRow();
  const int pair_row = pairs_->currentRow();
  pictures_->clear();
  for (int i = 0; i < sequence_.PictureCount(); ++i) {
    const SequencePicture& picture = sequence_.Picture(i);
    QString line = QString("%1. %2\n").arg(i + 1).arg(PictureName(i));
    if (!picture.found) {
      line += "missing: " + Text(picture.path);
    } else if (read_failures_.count(picture.id)) {
      line += read_failures_.at(picture.id);
    } else if (picture.size) {
      line += QString("%1 x %2").arg(picture.size->width).arg(picture.size->height);
    } else {
      line += "reading...";
    }
    auto* item = new QListWidgetItem(line, pictures_);
    if (thumbnails_.count(picture.id))
      item->setIcon(QPixmap::fromImage(thumbnails_.at(picture.id)));
    item->setToolTip(Text(picture.path));
  }
  pairs_->clear();
  for (int k = 0; k < sequence_.PairCount(); ++k) {
    auto* item = new QListWidgetItem(PairText(k), pairs_);
    if (PairInEdit() == sequence_.PairAt(k)) {
      QFont bold = item->font();
      bold.setBold(true);
      item->setFont(bold);
    }
  }
  pictures_->setCurrentRow(std::min(picture_row, pictures_->count() - 1));
  pairs_->setCurrentRow(std::min(pair_row, pairs_->count() - 1));
  const std::string missing = MissingPicturesMessage(sequence_);
  if (!missing.empty()) status_->setText(Text(missing));
}

// ---- A pair in the image windows -------------------------------------------

SequencePictures& SequenceWindow::Placed() {
  if (!placed_ || !PlacedAlike(placed_for_, sequence_)) {
    placed_ = PlaceSequencePictures(sequence_, std::string());
    placed_for_ = sequence_;
  }
  return *placed_;
}

void SequenceWindow::OpenPair(int k) {
  if (k < 0 || k >= sequence_.PairCount()) return;
  const PairKey key = sequence_.PairAt(k);
  const PairMesh& mesh = sequence_.MeshOf(key);
  if (mesh.state == PairState::kNone) {
    dialogs_.Message(this, kTitle, QString("Pair %1 is not meshed yet").arg(k + 1));
    return;
  }
  const int first = sequence_.IndexOf(key.first);
  const int second = sequence_.IndexOf(key.second);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  Result<Bitmap> first_picture = Placed().Picture(first);
  Result<Bitmap> second_picture = Placed().Picture(second);
  QApplication::restoreOverrideCursor();
  for (const Result<Bitmap>* picture : {&first_picture, &second_picture}) {
    if (!*picture) return dialogs_.Message(this, kTitle, Text(picture->Message()));
  }
  PairInPlace pair{std::move(first_picture).Value(),
                   std::move(second_picture).Value(),
                   Text(sequence_.Picture(first).path),
                   Text(sequence_.Picture(second).path),
                   mesh.mesh,
                   QString()};
  switch (mesh.state) {
    case PairState::kAutomatic:
      pair.report = Text(mesh.text);
      break;
    case PairState::kFailed:
      pair.report = "Auto Mesh failed: " + Text(mesh.text);
      break;
    default:
      break;
  }
  if (!owner_.EditSequencePair(this, pair)) return;
  editing_ = key;
  Refresh();
}

void SequenceWindow::TakeEditedMesh() {
  if (!PairInEdit() || owner_.SequencePairOwner() != this) return;
  MeshSnapshot mesh = TakeMeshSnapshot(owner_.MeshModel());
  if (mesh != sequence_.MeshOf(*editing_).mesh &&
      sequence_.SetEditedMesh(*editing_, std::move(mesh))) {
    Changed();
  }
  // The mesh is kept by the sequence, whose saving is asked about instead.
  owner_.Undo().MarkSaved();
}

// ---- Options, files and export ---------------------------------------------

void SequenceWindow::OptionsClick() {
  std::optional<SequenceOptions> chosen = dialogs_.AskSequenceOptions(this, sequence_.Options());
  if (!chosen || *chosen == sequence_.Options()) return;
  if (Status valid = CheckSequenceOptions(*chosen); !valid) {
    return dialogs_.Message(this, kTitle, Text(valid.Message()));
  }
  sequence_.SetOptions(*chosen);
  Changed();
}

bool SequenceWindow::OpenFile(const QString& file_name) {
  Result<Sequence> read = ReadSequenceFile(file_name.toStdString());
  if (!read) {
    dialogs_.Message(this, kTitle, Text(read.Message()));
    return false;
  }
  sequence_ = std::move(read).Value();
  file_name_ = QFileInfo(file_name).absoluteFilePath();
  saved_ = true;
  Changed(false);
  const std::string missing = MissingPicturesMessage(sequence_);
  if (!missing.empty()) {
    dialogs_.Message(this, kTitle, Text(missing) + ". Choose it in the list and press Locate.");
  }
  return true;
}

bool SequenceWindow::SaveTo(const QString& file_name) {
  const Status written = WriteSequenceFile(file_name.toStdString(), sequence_);
  if (!written) {
    dialogs_.Error(this, kTitle, file_name + ": " + Text(written.Message()));
    return false;
  }
  file_name_ = QFileInfo(file_name).absoluteFilePath();
  saved_ = true;
  owner_.RememberSequence(file_name_);
  ShowCaption();
  status_->setText("Saved in " + file_name_);
  return true;
}

bool SequenceWindow::SaveAsClick() {
  std::optional<QString> chosen = dialogs_.SaveFileName(
      this, "Save Sequence", "Sequences|*.vseq|All Files|*.*", file_name_, "vseq");
  return chosen && SaveTo(*chosen);
}

bool SequenceWindow::SaveClick() {
  return file_name_.isEmpty() ? SaveAsClick() : SaveTo(file_name_);
}

void SequenceWindow::ExportClick() {
  std::optional<QString> chosen =
      dialogs_.SaveFileName(this, "Export Sequence", kExportFilter, QString(), "mp4");
  if (chosen) ExportTo(*chosen);
}

bool SequenceWindow::ExportTo(const QString& file_name) {
  const std::string out = file_name.toStdString();
  // The export works on a copy: messages processed during the run (a
  // picture read, a pair meshed) may change the sequence meanwhile.
  const Sequence exported = sequence_;
  const auto name = [this](int i) { return PictureName(i).toStdString(); };
  Status possible = CheckSequenceOutput(out, exported.Options());
  Result<SequenceTriangles> triangles = TrianglesOfPairs(exported, name);
  if (possible && !triangles) possible = Failure{triangles.Message()};
  if (possible && exported.PairCount() == 0) possible = Failure{"A sequence needs two pictures"};
  if (!possible) {
    dialogs_.Message(this, kTitle, Text(possible.Message()));
    return false;
  }
  // Placed afresh, large pictures kept beside the output, as vesk-batch does.
  std::unique_ptr<SequencePictures> pictures =
      PlaceSequencePictures(exported, QFileInfo(file_name).absolutePath().toStdString());
  owner_.setEnabled(false);  // the pair in the image windows stays as it is
  KancelRun run(owner_.KancelForm(), *this, nullptr, nullptr);
  const SequenceExport done =
      ExportSequence(exported, *pictures, triangles.Value(), out, run, [this](int k, int pairs) {
        owner_.KancelForm().setWindowTitle(QString("Export: pair %1 of %2").arg(k + 1).arg(pairs));
      });
  run.End();
  owner_.setEnabled(true);
  owner_.KancelForm().setWindowTitle("Process");
  if (!done.status) {
    dialogs_.Error(this, kTitle,
                   (done.video ? file_name + ": " : QString()) + Text(done.status.Message()));
    return false;
  }
  if (done.cancelled) {
    status_->setText(done.video ? QString("Export cancelled; nothing written")
                                : QString("Export cancelled; %1 frames kept in %2")
                                      .arg(done.frames)
                                      .arg(Text(done.list_path)));
    return false;
  }
  status_->setText(QString("%1 frames written to %2")
                       .arg(done.frames)
                       .arg(done.video ? file_name : Text(done.list_path)));
  return true;
}

void SequenceWindow::closeEvent(QCloseEvent* event) {
  if (!saved_ && sequence_.PictureCount() > 0) {
    switch (dialogs_.Confirm(this, "Confirm", "Do you want to save the sequence ?", true)) {
      case Answer::Yes:
        if (!SaveClick()) return event->ignore();
        break;
      case Answer::No:
        break;
      case Answer::Cancel:
        return event->ignore();
    }
  }
  event->accept();
}

}  // namespace vesk
