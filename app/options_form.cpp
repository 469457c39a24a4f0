#include "app/options_form.h"

namespace vesk {

TOptionsForm::TOptionsForm(const Settings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings), stored_(settings) {
  setObjectName("OptionsForm");
  setWindowTitle("Options");
}

TOptionsForm::~TOptionsForm() = default;

Settings TOptionsForm::Values() const { return stored_; }

void TOptionsForm::FormActivate() {}
void TOptionsForm::Edit1Change() {}
void TOptionsForm::Edit5Change() {}
void TOptionsForm::Edit6Change() {}
void TOptionsForm::ScrollBar1Change() {}
void TOptionsForm::RadioButtonClick(int) {}
void TOptionsForm::PageOnChange() {}
void TOptionsForm::Button1Click() { accept(); }
void TOptionsForm::Button2Click() { reject(); }
void TOptionsForm::showEvent(QShowEvent* event) { QDialog::showEvent(event); }
bool TOptionsForm::eventFilter(QObject* watched, QEvent* event) {
  return QDialog::eventFilter(watched, event);
}

}  // namespace vesk
