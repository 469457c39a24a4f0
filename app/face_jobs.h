// What Average Faces and Caricature share: pictures read from files with
// their faces found (the one place these commands read a picture file), and
// a job run on a thread of its own while the progress window shows its
// counter, so the window stays responsive and Kancel stops the job at its
// next poll.
#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>

#include "core/faces/average_faces.h"
#include "core/generate/run_protocol.h"

namespace vesk {

class TKancelForm;

// The files as an average reads them; messages name each file by its name
// alone.
FacePictures FacePicturesOf(const QStringList& files);

// The face points of a picture already open, named `name` in messages.
Result<FacePoints> FaceOfPicture(const Bitmap& picture, const std::string& name);

// Runs `job` on a thread while the progress window shows the counter the
// job gives its protocol and `main_window` stays disabled, with
// `run_active` set so it cannot close; the job's protocol answers
// CancelRequested once Kancel was pressed. Returns when the job has ended.
void RunFaceJob(TKancelForm& form, QWidget& main_window, bool& run_active,
                const std::function<void(RunProtocol&)>& job);

}  // namespace vesk
