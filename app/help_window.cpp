#include "app/help_window.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <vector>

#include "app/user_dialogs.h"
#include "core/common/file_io.h"

// The help text lives in a resource of a static library: register it
// explicitly, since nothing else pulls its object file in.
static void InitHelpResource() { Q_INIT_RESOURCE(help); }

namespace vesk {
namespace {

// A help file is a page of text; anything this large is not one.
constexpr qint64 kMaxHelpBytes = qint64{16} << 20;

// Where InstallHelpFile put (or found) the help file at start-up.
QString installed_help_file;

// The help file named relative to the folder the program started in is
// still found after a file dialog made another folder the current one.
QString LocateHelpFile(const QString& help_file) {
  if (QFileInfo(help_file).isFile() || installed_help_file.isEmpty()) return help_file;
  if (QFileInfo(help_file).isRelative() &&
      QFileInfo(help_file).fileName() == QFileInfo(installed_help_file).fileName() &&
      QFileInfo(installed_help_file).isFile()) {
    return installed_help_file;
  }
  return help_file;
}

}  // namespace

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("HelpWindow");
  setWindowTitle("Trelvanique Help");
  setAttribute(Qt::WA_DeleteOnClose);
  browser_ = new QTextBrowser(this);
  browser_->setObjectName("HelpBrowser");
  browser_->setOpenExternalLinks(false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  resize(560, 480);
}

void THelpWindow::ShowText(const QString& html, const QString& folder) {
  browser_->setSearchPaths({folder});
  browser_->setHtml(html);
}

void ShowHelpIndex(QWidget* parent, UserDialogs& dialogs, const QString& named_file) {
  const QString help_file = LocateHelpFile(named_file);
  QFile file(help_file);
  if (!QFileInfo(help_file).isFile() || !file.open(QIODevice::ReadOnly)) {
    dialogs.Message(parent, "Trelvanique",
                    "The help file " + QDir::toNativeSeparators(help_file) +
                        " cannot be opened.");
    return;
  }
  if (file.size() > kMaxHelpBytes) {
    dialogs.Message(parent, "Trelvanique",
                    "The help file " + QDir::toNativeSeparators(help_file) + " is too large.");
    return;
  }
  const QString html = QString::fromUtf8(file.readAll());
  THelpWindow* window =
      parent ? parent->findChild<THelpWindow*>("HelpWindow", Qt::FindDirectChildrenOnly) : nullptr;
  if (window == nullptr) window = new THelpWindow(parent);
  window->ShowText(html, QFileInfo(help_file).absolutePath());
  window->show();
  window->raise();
  window->activateWindow();
}

QByteArray ShippedHelpText() {
  InitHelpResource();
  QFile shipped(":/help/Zelph.hlp");
  if (!shipped.open(QIODevice::ReadOnly)) return QByteArray();
  return shipped.readAll();
}

QString InstallHelpFile(const QString& help_file) {
  const QString absolute = QFileInfo(help_file).absoluteFilePath();
  installed_help_file = absolute;
  if (!QFileInfo::exists(absolute)) {
    const QByteArray text = ShippedHelpText();
    // A folder that cannot be written leaves no help file; the Index command
    // then says so.
    if (!text.isEmpty()) {
      WriteFileReplacing(absolute.toStdString(), std::vector<std::uint8_t>(text.begin(), text.end()));
    }
  }
  return absolute;
}

}  // namespace vesk
