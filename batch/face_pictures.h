// The portraits of `average` and `caricature`: read from files and their
// faces found, and the pictures they write (PNG or BMP by the name's
// extension). Pictures are read here and nowhere else in these commands.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/common/result.h"
#include "core/faces/average_faces.h"
#include "core/faces/face_shape.h"
#include "core/image/bitmap.h"

namespace vesk::batch {

// A picture file; messages name it.
Result<Bitmap> ReadPortrait(const std::string& path);
// The face points of a portrait read from `path`.
Result<FacePoints> FaceOfPortrait(const Bitmap& portrait, const std::string& path);
// The files as an average reads them.
FacePictures FacePicturesOf(const std::vector<std::string>& paths);

// "vesk-batch: skipped NAME: REASON" on standard error for each picture
// left out.
void ReportSkipped(const std::vector<std::string>& paths,
                   const std::vector<SkippedPicture>& skipped);

// True for a name ending in ".png" or ".bmp" (any letter case).
bool IsPictureOutput(const std::string& path);
// Saves PNG or BMP by the name, as SaveImageFile saves (nothing half-written,
// Ctrl+C before the file is in place drops it).
Status SavePicture(const Bitmap& picture, const std::string& path, std::string_view title);

}  // namespace vesk::batch
