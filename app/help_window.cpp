#include "app/help_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/user_dialogs.h"

// The help text lives in a resource of a static library: register it
// explicitly, since nothing else pulls its object file in.
static void InitHelpResource() { Q_INIT_RESOURCE(help); }

namespace vesk {
namespace {

// A help file is a page of text; anything this large is not one.
constexpr qint64 kMaxHelpBytes = qint64{16} << 20;

// The help file's place in the folder the program started in.
QString start_folder_help_file;

constexpr char kBuiltInHelp[] = ":/help/Zelph.hlp";

QString LocateHelpFile(const QString& help_file) {
  if (QFileInfo(help_file).isFile()) return help_file;
  if (QFileInfo(help_file).isRelative() && QFileInfo(start_folder_help_file).isFile() &&
      QFileInfo(help_file).fileName() == QFileInfo(start_folder_help_file).fileName()) {
    return start_folder_help_file;
  }
  if (QFileInfo(InstalledHelpFile()).isFile()) return InstalledHelpFile();
  InitHelpResource();
  return kBuiltInHelp;
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

void THelpWindow::keyPressEvent(QKeyEvent* event) {
  // Escape closes it, as it closes the program's dialogs.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
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
  QFile shipped(kBuiltInHelp);
  if (!shipped.open(QIODevice::ReadOnly)) return QByteArray();
  return shipped.readAll();
}

void RememberHelpFolder(const QString& help_file) {
  start_folder_help_file = QFileInfo(help_file).absoluteFilePath();
}

QString InstalledHelpFile() {
  return QDir::cleanPath(QCoreApplication::applicationDirPath() + "/" VESK_INSTALLED_HELP_DIR +
                         "/Zelph.hlp");
}

}  // namespace vesk
