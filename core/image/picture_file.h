// How the image windows name and find a picture file: the window caption
// taken from the file name, the bare name looked up in the current folder
// when the named file cannot be opened, the loader chosen by extension and
// the texts of a failed load.
#pragma once

#include <string>

namespace vesk {

enum class PictureFormat { kBmp, kPng, kJpeg, kUnknown };

// The last part of a file name: the text after the last "\", "/" or ":"
// (all of it when there is none). Used as the window caption.
std::string CaptionOfFileName(const std::string& file_name);

// The text after the last "\" or "/" (all of it when there is none): the
// name looked up in the current folder when the file is not found as given.
std::string BareFileName(const std::string& file_name);

// The extension after the last "." of the last part of the name, without
// the dot, as written ("" when there is none).
std::string PictureExtension(const std::string& file_name);

// ".bmp" -> kBmp, ".png" -> kPng, ".jpg"/".jpeg" -> kJpeg, in any letter
// case; everything else kUnknown.
PictureFormat PictureFormatOf(const std::string& file_name);

// "Unknown picture file extension (.%s)" with the extension as written.
std::string UnknownExtensionMessage(const std::string& file_name);

// The text of the message box of a failed load: "Error in image Format ",
// a line feed, a carriage return, then the loader's own message.
std::string ImageFormatErrorText(const std::string& loader_message);

}  // namespace vesk
