#include "batch/face_pictures.h"

#include <algorithm>
#include <cctype>
#include <iostream>

#include "batch/batch_support.h"
#include "match/face_points_finder.h"
#include "video/png_picture.h"

namespace vesk::batch {

Result<Bitmap> ReadPortrait(const std::string& path) { return LoadImageFile(path); }

Result<FacePoints> FaceOfPortrait(const Bitmap& portrait, const std::string& path) {
  FaceOptions options;
  options.picture_name = path;
  return FindFacePoints(portrait, options);
}

FacePictures FacePicturesOf(const std::vector<std::string>& paths) {
  FacePictures pictures;
  pictures.names = paths;
  pictures.read = [paths](std::size_t i) { return ReadPortrait(paths[i]); };
  pictures.find_face = [paths](const Bitmap& picture, std::size_t i) {
    return FaceOfPortrait(picture, paths[i]);
  };
  return pictures;
}

void ReportSkipped(const std::vector<std::string>& paths,
                   const std::vector<SkippedPicture>& skipped) {
  for (const SkippedPicture& picture : skipped) {
    std::cerr << "vesk-batch: skipped " << paths[picture.index] << ": " << picture.reason
              << std::endl;
  }
}

bool IsPictureOutput(const std::string& path) {
  std::string ending = path.size() >= 4 ? path.substr(path.size() - 4) : "";
  std::transform(ending.begin(), ending.end(), ending.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ending == ".png" || ending == ".bmp";
}

Status SavePicture(const Bitmap& picture, const std::string& path, std::string_view title) {
  if (!IsPngName(path)) return SaveImageFile(picture, path, title);
  Result<std::vector<std::uint8_t>> png = EncodePng(picture);
  if (!png) return Failure{path + ": " + png.Message()};
  return SaveFileBytes(png.Value(), path, title);
}

}  // namespace vesk::batch
