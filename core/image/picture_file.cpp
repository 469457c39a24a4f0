#include "core/image/picture_file.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace vesk {
namespace {

std::string AfterLastOf(const std::string& text, const char* separators) {
  std::size_t at = text.find_last_of(separators);
  return at == std::string::npos ? text : text.substr(at + 1);
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

constexpr std::pair<const char*, PictureFormat> kExtensions[] = {
    {"bmp", PictureFormat::kBmp},   {"png", PictureFormat::kPng},   {"jpg", PictureFormat::kJpeg},
    {"jpeg", PictureFormat::kJpeg}, {"webp", PictureFormat::kWebp}, {"tif", PictureFormat::kTiff},
    {"tiff", PictureFormat::kTiff}, {"heic", PictureFormat::kHeif}, {"heif", PictureFormat::kHeif},
    {"avif", PictureFormat::kAvif},
};

}  // namespace

std::string CaptionOfFileName(const std::string& file_name) {
  return AfterLastOf(file_name, "\\/:");
}

std::string BareFileName(const std::string& file_name) { return AfterLastOf(file_name, "\\/"); }

std::string PictureExtension(const std::string& file_name) {
  std::string last = AfterLastOf(file_name, "\\/:");
  std::size_t dot = last.rfind('.');
  return dot == std::string::npos ? std::string() : last.substr(dot + 1);
}

PictureFormat PictureFormatOf(const std::string& file_name) {
  const std::string ext = Lower(PictureExtension(file_name));
  for (const auto& [extension, format] : kExtensions) {
    if (ext == extension) return format;
  }
  return PictureFormat::kUnknown;
}

const std::vector<std::string>& PictureExtensions() {
  static const std::vector<std::string> extensions = [] {
    std::vector<std::string> all;
    for (const auto& [extension, format] : kExtensions) all.emplace_back(extension);
    return all;
  }();
  return extensions;
}

std::string PictureFormatName(PictureFormat format) {
  switch (format) {
    case PictureFormat::kBmp:
      return "BMP";
    case PictureFormat::kPng:
      return "PNG";
    case PictureFormat::kJpeg:
      return "JPEG";
    case PictureFormat::kWebp:
      return "WebP";
    case PictureFormat::kTiff:
      return "TIFF";
    case PictureFormat::kHeif:
      return "HEIF";
    case PictureFormat::kAvif:
      return "AVIF";
    case PictureFormat::kUnknown:
      break;
  }
  return "unknown";
}

std::string UnknownExtensionMessage(const std::string& file_name) {
  std::string list;
  for (const std::string& extension : PictureExtensions()) {
    list += (list.empty() ? "." : ", .") + extension;
  }
  return "Unknown picture file extension (." + PictureExtension(file_name) +
         "); pictures are read from " + list;
}

std::string PicturePatterns() {
  std::string patterns;
  for (const std::string& extension : PictureExtensions()) {
    std::string upper = extension;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    patterns += (patterns.empty() ? "*." : ";*.") + extension + ";*." + upper;
  }
  return patterns;
}

std::string ImageFormatErrorText(const std::string& loader_message) {
  return "Error in image Format \n\r" + loader_message;
}

}  // namespace vesk
