// What Qt and the libraries under it (libpng, libjpeg, libtiff, libheif's
// decoders) would print while a picture is decoded, kept instead: Qt's
// messages through a message handler, the lines the C libraries write
// straight to standard error through a temporary file put in its place.
// The reader folds them into its one line, or drops them when the picture
// read well. One picture is decoded at a time under it; Qt messages of
// other threads meanwhile go where they went before.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

#include <QtGlobal>

namespace vesk::pictures {

class DecoderChatter {
 public:
  DecoderChatter();
  ~DecoderChatter();
  DecoderChatter(const DecoderChatter&) = delete;
  DecoderChatter& operator=(const DecoderChatter&) = delete;

  // Everything said, lines joined by "; ". Ends the keeping of standard
  // error (ask once the decoding is over); Qt's messages are kept on.
  std::string Words();

 private:
  static void Keep(QtMsgType type, const QMessageLogContext& context, const QString& message);
  void TakeStandardError();

  std::unique_lock<std::mutex> hold_;
  QtMessageHandler previous_ = nullptr;
  std::thread::id thread_;
  std::string words_;
  int saved_stderr_ = -1;
  std::FILE* captured_ = nullptr;
};

}  // namespace vesk::pictures
