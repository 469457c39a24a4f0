#include "core/image/picture_file.h"

#include <algorithm>
#include <cctype>

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
  std::string ext = Lower(PictureExtension(file_name));
  if (ext == "bmp") return PictureFormat::kBmp;
  if (ext == "png") return PictureFormat::kPng;
  if (ext == "jpg" || ext == "jpeg") return PictureFormat::kJpeg;
  return PictureFormat::kUnknown;
}

std::string UnknownExtensionMessage(const std::string& file_name) {
  return "Unknown picture file extension (." + PictureExtension(file_name) + ")";
}

std::string ImageFormatErrorText(const std::string& loader_message) {
  return "Error in image Format \n\r" + loader_message;
}

}  // namespace vesk
