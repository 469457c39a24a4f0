// Every modal question of the program goes through UserDialogs: file
// dialogs, message boxes, confirmations, printer dialogs. The program uses
// QtUserDialogs; tests give a scripted implementation that answers without
// blocking. Filters are written as the program states them
// ("Bitmap|*.BMP|All Files|*.*").
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "core/faces/face_shape.h"
#include "core/image/bitmap.h"
#include "core/sequence/sequence_options.h"
#include "video/video_writer.h"

class QPrinter;
class QWidget;

namespace vesk {

enum class Answer { Yes, No, Cancel };

// Auto Mesh's question: the method (an index into the methods offered) and
// the spacing in pixels, 0 for the picture's default.
struct AutoMeshChoice {
  int method = 0;
  int spacing = 0;
};

// Average Faces' question: the pictures, the output's size, whether a
// picture without a face is left out (else it ends the average), and where
// the mean shape is saved ("": not saved).
struct AverageFacesChoice {
  QStringList pictures;
  int width = 600;
  int height = 800;
  bool skip_failed = true;
  QString mean_shape_file;
};

// What a caricature's amount is chosen on: the picture, its face's points
// and the average's shape.
struct CaricatureSubject {
  const Bitmap* picture = nullptr;
  FacePoints own{};
  FacePoints average{};
};

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;

  // Choosing a file makes its folder the current directory, as the
  // platform's dialogs do; cancelling answers nothing.
  std::optional<QString> OpenFileName(QWidget* parent, const QString& title,
                                      const QString& filter);
  // `default_suffix` is the dialog's default extension: a typed name
  // without one gets it.
  std::optional<QStringList> OpenFileNames(QWidget* parent, const QString& title,
                                           const QString& filter,
                                           const QString& default_suffix = QString());
  std::optional<QString> SaveFileName(QWidget* parent, const QString& title,
                                      const QString& filter, const QString& file_name,
                                      const QString& default_suffix = QString());

  // Plain notice: OK button only, `caption` as window title.
  virtual void Message(QWidget* parent, const QString& caption, const QString& text) = 0;
  // Information notice: the same with the information icon.
  virtual void Information(QWidget* parent, const QString& caption, const QString& text) = 0;
  // Error report: stop icon, OK button.
  virtual void Error(QWidget* parent, const QString& caption, const QString& text) = 0;
  // Confirmation with Yes/No, or Yes/No/Cancel when `with_cancel`.
  virtual Answer Confirm(QWidget* parent, const QString& caption, const QString& text,
                         bool with_cancel) = 0;
  // Whether a printer is installed: without one Printer Setup has nothing
  // to set up (printing still goes to a file).
  virtual bool PrinterInstalled() const = 0;
  // Printer set-up and print dialogs; false when cancelled.
  virtual bool PrinterSetup(QWidget* parent, QPrinter& printer) = 0;
  virtual bool PrintDialog(QWidget* parent, QPrinter& printer) = 0;
  // Whole numbers in min..max, one field per label, starting at `values`;
  // nothing when cancelled.
  virtual std::optional<QList<int>> AskNumbers(QWidget* parent, const QString& caption,
                                               const QStringList& labels,
                                               const QList<int>& values, int min, int max) = 0;
  // Frame rate, quality and lossless switch of a video export, starting at
  // `initial`; nothing when cancelled.
  virtual std::optional<VideoOptions> AskVideoOptions(QWidget* parent,
                                                      const VideoOptions& initial) = 0;
  // A method out of `methods` and a spacing up to `max_spacing`, starting
  // at `start`; nothing when cancelled.
  virtual std::optional<AutoMeshChoice> AskAutoMesh(QWidget* parent, const QStringList& methods,
                                                    const AutoMeshChoice& start,
                                                    int max_spacing) = 0;
  // The pictures and options of an average, starting at `start`; nothing
  // when cancelled.
  virtual std::optional<AverageFacesChoice> AskAverageFaces(QWidget* parent,
                                                            const AverageFacesChoice& start) = 0;
  // A caricature's amount, starting at `start`, with a preview of the
  // subject; nothing when cancelled.
  virtual std::optional<double> AskCaricatureAmount(QWidget* parent,
                                                    const CaricatureSubject& subject,
                                                    double start) = 0;

  // The options of a sequence, starting at `initial`; nothing when
  // cancelled.
  virtual std::optional<SequenceOptions> AskSequenceOptions(QWidget* parent,
                                                            const SequenceOptions& initial) = 0;

  // "Bitmap|*.BMP|All Files|*.*" as a Qt name filter list; a description
  // that already ends in its patterns ("AVI-Files (*.avi)") shows them once.
  static QString ToQtFilter(const QString& filter);

 protected:
  // The default extension of the file dialog being asked, "" for none.
  const QString& DefaultSuffix() const { return default_suffix_; }

  virtual std::optional<QStringList> AskOpen(QWidget* parent, const QString& title,
                                             const QString& filter, bool many) = 0;
  virtual std::optional<QString> AskSave(QWidget* parent, const QString& title,
                                         const QString& filter, const QString& file_name) = 0;

 private:
  QString default_suffix_;
};

// The real dialogs of the platform.
class QtUserDialogs : public UserDialogs {
 public:
  void Message(QWidget* parent, const QString& caption, const QString& text) override;
  void Information(QWidget* parent, const QString& caption, const QString& text) override;
  void Error(QWidget* parent, const QString& caption, const QString& text) override;
  Answer Confirm(QWidget* parent, const QString& caption, const QString& text,
                 bool with_cancel) override;
  bool PrinterInstalled() const override;
  bool PrinterSetup(QWidget* parent, QPrinter& printer) override;
  bool PrintDialog(QWidget* parent, QPrinter& printer) override;
  // A small form of spin boxes (number_dialog.cpp).
  std::optional<QList<int>> AskNumbers(QWidget* parent, const QString& caption,
                                       const QStringList& labels, const QList<int>& values,
                                       int min, int max) override;
  // A small form beside it (video_options_dialog.cpp).
  std::optional<VideoOptions> AskVideoOptions(QWidget* parent,
                                              const VideoOptions& initial) override;
  // A method list and a spin box (auto_mesh_dialog.cpp).
  std::optional<AutoMeshChoice> AskAutoMesh(QWidget* parent, const QStringList& methods,
                                            const AutoMeshChoice& start, int max_spacing) override;
  // A list of pictures with a form beside it (average_faces_dialog.cpp).
  std::optional<AverageFacesChoice> AskAverageFaces(QWidget* parent,
                                                    const AverageFacesChoice& start) override;
  // TCaricatureForm (caricature_form.h).
  std::optional<double> AskCaricatureAmount(QWidget* parent, const CaricatureSubject& subject,
                                            double start) override;
  // Every option in one form (sequence_options_dialog.cpp).
  std::optional<SequenceOptions> AskSequenceOptions(QWidget* parent,
                                                    const SequenceOptions& initial) override;

 protected:
  std::optional<QStringList> AskOpen(QWidget* parent, const QString& title,
                                     const QString& filter, bool many) override;
  std::optional<QString> AskSave(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& file_name) override;
};

}  // namespace vesk
