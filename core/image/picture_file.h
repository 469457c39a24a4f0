// How the programs name and find a picture file: the window caption taken
// from the file name, the bare name looked up in the current folder when
// the named file cannot be opened, the reader chosen by extension, the open
// dialog's patterns and the texts of a failed load.
#pragma once

#include <string>
#include <vector>

namespace vesk {

// The formats the programs read (pictures/picture_reader.h): BMP with the
// program's own codec, PNG, JPEG, WebP and TIFF with Qt's image plugins,
// HEIF (HEIC) and AVIF with libheif.
enum class PictureFormat { kBmp, kPng, kJpeg, kWebp, kTiff, kHeif, kAvif, kUnknown };

// The last part of a file name: the text after the last "\", "/" or ":"
// (all of it when there is none). Used as the window caption.
std::string CaptionOfFileName(const std::string& file_name);

// The text after the last "\" or "/" (all of it when there is none): the
// name looked up in the current folder when the file is not found as given.
std::string BareFileName(const std::string& file_name);

// The extension after the last "." of the last part of the name, without
// the dot, as written ("" when there is none).
std::string PictureExtension(const std::string& file_name);

// By extension, in any letter case: ".bmp", ".png", ".jpg"/".jpeg",
// ".webp", ".tif"/".tiff", ".heic"/".heif", ".avif"; everything else
// kUnknown.
PictureFormat PictureFormatOf(const std::string& file_name);

// Every extension read, lower case, without the dot, in the order above.
const std::vector<std::string>& PictureExtensions();

// The name of a format as messages say it ("PNG", "HEIF", ...).
std::string PictureFormatName(PictureFormat format);

// "Unknown picture file extension (.%s)" with the extension as written,
// then the formats read: "; pictures are read from .bmp, .png, ...".
std::string UnknownExtensionMessage(const std::string& file_name);

// The open dialog's patterns of every picture read, each in small and in
// capital letters ("*.bmp;*.BMP;*.png;*.PNG;..."): the GTK dialog matches
// patterns letter case and all, and cameras write "IMG_0001.JPG".
std::string PicturePatterns();

// The text of the message box of a failed load: "Error in image Format ",
// a line feed, a carriage return, then the loader's own message.
std::string ImageFormatErrorText(const std::string& loader_message);

}  // namespace vesk
