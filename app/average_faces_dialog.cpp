// The real dialog behind UserDialogs::AskAverageFaces: the pictures in a
// list with Add and Remove, the output's size, whether pictures without a
// face are left out, and where the mean shape goes, with OK and Cancel.
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

#include "app/dialog_buttons.h"
#include "app/user_dialogs.h"
#include "core/faces/eye_frame.h"
#include "core/image/picture_file.h"

namespace vesk {
namespace {

QSpinBox* SideBox(QWidget* parent, const char* name, int value) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(name);
  box->setRange(kMinAverageSide, kMaxAverageSide);
  box->setSuffix(" px");
  box->setValue(value);
  return box;
}

}  // namespace

std::optional<AverageFacesChoice> QtUserDialogs::AskAverageFaces(QWidget* parent,
                                                                 const AverageFacesChoice& start) {
  QDialog dialog(parent);
  dialog.setObjectName("AverageFacesDialog");
  dialog.setWindowTitle("Average Faces");
  auto* form = new QFormLayout(&dialog);
  auto* list = new QListWidget(&dialog);
  list->setObjectName("PictureList");
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->addItems(start.pictures);
  auto* add = new QPushButton("&Add...", &dialog);
  auto* remove = new QPushButton("&Remove", &dialog);
  auto* list_buttons = new QHBoxLayout;
  list_buttons->addWidget(add);
  list_buttons->addWidget(remove);
  list_buttons->addStretch();
  form->addRow("&Pictures:", list);
  form->addRow(list_buttons);
  auto* width = SideBox(&dialog, "WidthBox", start.width);
  auto* height = SideBox(&dialog, "HeightBox", start.height);
  form->addRow("&Width:", width);
  form->addRow("&Height:", height);
  auto* skip = new QCheckBox("&Leave out pictures without a face", &dialog);
  skip->setChecked(start.skip_failed);
  form->addRow(skip);
  auto* shape = new QLineEdit(start.mean_shape_file, &dialog);
  shape->setPlaceholderText("not saved");
  auto* browse = new QPushButton("&Browse...", &dialog);
  auto* shape_row = new QHBoxLayout;
  shape_row->addWidget(shape);
  shape_row->addWidget(browse);
  form->addRow("&Mean shape file:", shape_row);
  QDialogButtonBox* buttons = AddOkCancelRow(dialog, *form);

  const auto enable_ok = [&] {
    buttons->button(QDialogButtonBox::Ok)->setEnabled(list->count() > 0);
  };
  enable_ok();
  QObject::connect(add, &QPushButton::clicked, &dialog, [&] {
    // Every picture the program reads, as the Open dialog offers them.
    const QString pictures = "Pictures|" + QString::fromStdString(PicturePatterns());
    list->addItems(QFileDialog::getOpenFileNames(&dialog, "Add Pictures", QString(),
                                                 UserDialogs::ToQtFilter(pictures)));
    enable_ok();
  });
  QObject::connect(remove, &QPushButton::clicked, &dialog, [&] {
    qDeleteAll(list->selectedItems());
    enable_ok();
  });
  QObject::connect(browse, &QPushButton::clicked, &dialog, [&] {
    const QString name = QFileDialog::getSaveFileName(&dialog, "Save Mean Shape", shape->text(),
                                                      "Mean shapes (*.pts)");
    if (!name.isEmpty()) shape->setText(name);
  });
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  AverageFacesChoice choice;
  for (int i = 0; i < list->count(); ++i) choice.pictures << list->item(i)->text();
  choice.width = width->value();
  choice.height = height->value();
  choice.skip_failed = skip->isChecked();
  choice.mean_shape_file = shape->text();
  return choice;
}

}  // namespace vesk
