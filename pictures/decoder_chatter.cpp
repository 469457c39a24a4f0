#include "pictures/decoder_chatter.h"

#include <unistd.h>

#include <atomic>

#include <QString>

namespace vesk::pictures {
namespace {

std::mutex g_decoding;
std::atomic<DecoderChatter*> g_active{nullptr};

void Append(std::string& words, std::string line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) {
    line.pop_back();
  }
  if (line.empty()) return;
  words += (words.empty() ? "" : "; ") + line;
}

}  // namespace

DecoderChatter::DecoderChatter() : hold_(g_decoding), thread_(std::this_thread::get_id()) {
  g_active = this;
  previous_ = qInstallMessageHandler(&DecoderChatter::Keep);
  std::fflush(stderr);
  captured_ = std::tmpfile();
  saved_stderr_ = captured_ != nullptr ? ::dup(STDERR_FILENO) : -1;
  if (saved_stderr_ >= 0) ::dup2(::fileno(captured_), STDERR_FILENO);
}

DecoderChatter::~DecoderChatter() {
  TakeStandardError();
  qInstallMessageHandler(previous_);
  g_active = nullptr;
}

void DecoderChatter::TakeStandardError() {
  if (saved_stderr_ >= 0) {
    std::fflush(stderr);
    ::dup2(saved_stderr_, STDERR_FILENO);
    ::close(saved_stderr_);
    saved_stderr_ = -1;
    std::rewind(captured_);
    char line[512];
    while (std::fgets(line, sizeof line, captured_) != nullptr) Append(words_, line);
  }
  if (captured_ != nullptr) std::fclose(captured_);
  captured_ = nullptr;
}

std::string DecoderChatter::Words() {
  TakeStandardError();
  return words_;
}

void DecoderChatter::Keep(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
  DecoderChatter* active = g_active;
  if (active != nullptr && std::this_thread::get_id() == active->thread_) {
    Append(active->words_, message.toStdString());
  } else if (active != nullptr && active->previous_ != nullptr) {
    active->previous_(type, context, message);
  }
}

}  // namespace vesk::pictures
