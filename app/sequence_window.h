// The sequence window: a sequence of pictures (core/sequence/sequence.h)
// shown and edited. The pictures in order as thumbnails with their names and
// sizes (added, removed and reordered by mouse and keyboard), each pair with
// its mesh state (automatic with Auto Mesh's summary, edited by hand, failed
// with the reason, being meshed), the pair open in the image windows, the
// options, the player, the export and the sequence file. Pictures are read
// and pairs meshed in the background (SequencePairMesher); the rules of
// pairs and meshes are the core's, the frames the sequencing library's.
#pragma once

#include <QListWidget>
#include <QPointer>
#include <QString>
#include <QThreadPool>
#include <QWidget>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "core/image/bitmap.h"
#include "core/sequence/sequence.h"

class QLabel;
class QPushButton;

namespace vesk {

class SequencePairMesher;
class SequencePictures;
class SequencePlayer;
class TMDIForm;
class UserDialogs;
struct PairMeshResult;

// A pair put into the first and second image windows to be edited there:
// its two pictures as the sequence morphs them, their files, its mesh and
// what the status bar says of it.
struct PairInPlace {
  Bitmap first;
  Bitmap second;
  QString first_name;
  QString second_name;
  MeshSnapshot mesh;
  QString report;
};

// The pictures' strip: drags inside it reorder, files dropped on it are
// added where they fall; Ctrl+Up and Ctrl+Down move the current picture,
// Delete removes it, Insert adds pictures before it.
class PictureStrip : public QListWidget {
  Q_OBJECT

 public:
  explicit PictureStrip(QWidget* parent = nullptr);

 signals:
  void MoveAsked(int from, int to);
  void RemoveAsked(int index);
  void AddAsked(int before);
  void FilesDropped(const QStringList& files, int before);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
};

class SequenceWindow : public QWidget {
  Q_OBJECT

 public:
  SequenceWindow(TMDIForm& owner, UserDialogs& dialogs);
  ~SequenceWindow() override;

  const Sequence& Model() const { return sequence_; }
  // The sequence file, "" before the first save.
  const QString& FileName() const { return file_name_; }
  bool Saved() const { return saved_; }
  PictureStrip* Pictures() const { return pictures_; }
  QListWidget* Pairs() const { return pairs_; }
  SequencePlayer* Player() const { return player_; }
  // The pair open in the image windows, if it is still a pair.
  std::optional<PairKey> PairInEdit() const;
  // True while pictures are read or a pair is meshed.
  bool Working() const;

  // ---- Commands (each also behind a button)
  void AddPictures(const QStringList& files, int before = -1);
  void RemovePicture(int index);
  void MovePicture(int from, int to);
  // Asks for the file of a picture that was not found.
  void LocatePicture(int index);
  // Puts pair k into the image windows.
  void OpenPair(int k);
  void OptionsClick();
  // Reads a sequence file into this window (which must be empty); false
  // after its message.
  bool OpenFile(const QString& file_name);
  bool SaveClick();
  bool SaveAsClick();
  bool SaveTo(const QString& file_name);
  void ExportClick();
  // Writes every frame into a video (.mp4, .webm, .gif) or a frame list
  // (.any) with the progress window and Kancel; false when refused,
  // failed (after its message) or cancelled.
  bool ExportTo(const QString& file_name);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // The sequence changed: marked unsaved (when `by_user`), then shown,
  // read, meshed and played from its new state.
  void Changed(bool by_user = true);
  void Refresh();
  void ReadPictures();
  void MeshNext();
  void MeshDone(const PairMeshResult& result);
  // The mesh in the image windows, kept as the pair's when it is this
  // window's pair and was changed.
  void TakeEditedMesh();
  QString PairText(int k) const;
  QString PictureName(int index) const;
  void ShowCaption();
  // The pictures as the sequence morphs them, placed again only when what
  // places them changed.
  SequencePictures& Placed();

  TMDIForm& owner_;
  UserDialogs& dialogs_;
  Sequence sequence_;
  QString file_name_;
  bool saved_ = true;

  PictureStrip* pictures_;
  QListWidget* pairs_;
  QLabel* status_;
  SequencePlayer* player_;
  std::map<QString, QPushButton*> buttons_;

  std::map<PictureId, QImage> thumbnails_;
  std::map<PictureId, QString> read_failures_;
  std::set<PictureId> reading_;  // pictures being read
  QThreadPool reader_;
  std::unique_ptr<SequencePairMesher> mesher_;
  std::optional<PairKey> editing_;
  std::unique_ptr<SequencePictures> placed_;
  Sequence placed_for_;
};

}  // namespace vesk
