// The Options dialog through its real widgets: its controls, each edit's
// range and keys, the previews, the colour swatches, the renderer and the
// timing, OK and Cancel.
#include "app/options_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include "app/int_edit.h"
#include "app1_support.h"
#include "support/view_checks.h"

template <typename T = QWidget>
T* Nth(TOptionsForm& form, const char* name, int n) {
  return NamedChild<T>(form, qPrintable(QString("%1%2").arg(name).arg(n)));
}

// Plays `keys` on edit n: '*' selects all, '^' goes home, '<' is Backspace,
// '#' is Delete; other characters are typed.
static void Play(TOptionsForm& form, int n, const QString& keys) {
  QLineEdit* edit = Nth<QLineEdit>(form, "Edit", n);
  edit->setFocus();
  edit->end(false);
  for (QChar c : keys) {
    if (c == '*') edit->selectAll();
    if (c == '^') edit->home(false);
    if (c == '<' || c == '#') QTest::keyClick(edit, c == '<' ? Qt::Key_Backspace : Qt::Key_Delete);
    if (!QString("*^<#").contains(c)) QTest::keyClicks(edit, QString(c));
  }
}

class OptionsFormTest : public QObject {
  Q_OBJECT

 private slots:
  void ControlsAndTheSettingsShownClamped() {
    QWidget owner;
    owner.setGeometry(0, 0, 120, 90);
    owner.show();
    // A sheet size of 200 is possible only through the settings file.
    const Settings s{.SheetHorzSize = 200, .NodeSize = 0, .SelectedNodeColor = MakeColor(1, 2, 3),
                     .Equalize = 0};
    TOptionsForm form(s, &owner);
    form.show();
    // Centred on the screen, not over its owner; the checked radio button
    // loaded the scroll bars from its swatch.
    QCOMPARE(Seen(form, "OptionsForm 0x0 | Edit1 | Edit6 | CheckBox1 | Shape2 | ScrollBar3"),
             "OptionsForm 372x188 10px centred \"Options\" | Edit1 \"100\" | Edit6 \"1\" | "
             "CheckBox1 \"Equalize\" up | Shape2 #010203 | ScrollBar3 0..255=3");
    Play(form, 3, "*16");
    Play(form, 5, "*11");
    Play(form, 4, "^a:Z#");  // letters and Delete change nothing
    QCOMPARE(Seen(form, "Edit3 | Edit5 | Edit4"), "Edit3 \"15\" | Edit5 \"10\" | Edit4 \"3\"");
    // The arrows step by one, down to 0 for the Horizontal Quotient.
    for (int i = 0; i < 4; ++i) Nth<TUpDown>(form, "UpDown", 4)->DownButton()->click();
    QCOMPARE(Nth<QLineEdit>(form, "Edit", 4)->text(), QString("0"));
  }
  void EveryTabAndPageFitsAndTheDialogGrows() {
    TOptionsForm form{Settings{}};
    form.show();
    auto* tabs = NamedChild<QTabWidget>(form, "PageControl1");
    for (auto* arrow : tabs->tabBar()->findChildren<QToolButton*>()) QVERIFY(!arrow->isVisible());
    for (int i = 0; i < tabs->count(); ++i) {
      tabs->setCurrentIndex(i);
      for (QWidget* w : tabs->widget(i)->findChildren<QWidget*>()) {
        const QString where = tabs->tabText(i) + " " + w->objectName();
        QVERIFY2(w->parentWidget()->rect().contains(w->geometry()), qPrintable(where));
        const bool group = qobject_cast<QGroupBox*>(w);  // the room its laid out controls need
        QVERIFY2(!group || w->height() >= w->minimumSizeHint().height(), qPrintable(where));
      }
    }
    // OK and Cancel stay in the corner of a larger dialog.
    form.resize(form.width() + 50, form.height() + 40);
    QCOMPARE(NamedChild<QWidget>(form, "Button2")->geometry().bottomRight(),
             QPoint(form.width() - 6, form.height() - 5));
    QCOMPARE(tabs->size(), QSize(form.width(), form.height() - 33));
  }
  void Closing() {
    const char* const rows[] = {"Button1", "Return", "Button2", "Escape", "close"};
    for (const QString how : rows) {
      const bool stored = how == "Button1" || how == "Return";
      const RunTiming opened{{TimingCurve::kEaseOut, TimingCurve::kEaseInOut}, 3};
      TOptionsForm form{Settings{}, nullptr, Renderer::kSmooth, opened};
      form.show();
      const char* typed[] = {"50", "60", "4", "5", "6", "9"};
      for (int n = 1; n <= 6; ++n) Play(form, n, QString("*") + typed[n - 1]);
      NamedChild<QCheckBox>(form, "CheckBox1")->setChecked(false);
      Click(form, "RenderingClassic");  // the colour curve is left as it opened
      NamedChild<QComboBox>(form, "ShapeCurveBox")->setCurrentIndex(1);
      NamedChild<QSpinBox>(form, "HoldBox")->setValue(2);
      const int bars[4][2] = {{2, 77}, {3, 1}, {1, 2}, {2, 3}};  // per swatch: bar, value
      for (int n = 1; n <= 4; ++n) {
        QTest::mouseClick(Nth<QRadioButton>(form, "RadioButton", n), Qt::LeftButton);
        Nth<QScrollBar>(form, "ScrollBar", bars[n - 1][0])->setValue(bars[n - 1][1]);
      }
      if (how.startsWith("Button")) Click(form, qPrintable(how));
      const auto key = how == "Return" ? Qt::Key_Return : Qt::Key_Escape;
      if (how == "Return" || how == "Escape") QTest::keyClick(Nth<QLineEdit>(form, "Edit", 6), key);
      if (how == "close") form.close();
      QVERIFY(!form.isVisible() && !NamedChild<QTimer>(form, "Timer1")->isActive());
      const Settings v = form.Values();
      const QList<int> numbers = {v.SheetHorzSize,    v.SheetVertSize,    v.FlagRadius,
                                  v.FlagHorzQuotient, v.FlagVertQuotient, v.NodeSize};
      const QList<Color> colors = {v.SelectedNodeColor, v.PreviousNodeColor, v.NodeColor,
                                   v.LineColor};
      const QList<Color> chosen = {MakeColor(255, 77, 0), MakeColor(0, 128, 1),
                                   MakeColor(2, 200, 200), MakeColor(0, 3, 255)};
      QVERIFY(!stored || (numbers == QList<int>{50, 60, 4, 5, 6, 9} && colors == chosen));
      QVERIFY(stored || v == Settings());
      QCOMPARE(v.Equalize, stored ? 0 : 1);
      const RunTiming edited{{TimingCurve::kEaseIn, TimingCurve::kEaseInOut}, 2};
      QVERIFY(stored ? form.Rendering() == Renderer::kClassic && form.Timing() == edited
                     : form.Rendering() == Renderer::kSmooth && form.Timing() == opened);
      QCOMPARE(form.result(), int(stored ? QDialog::Accepted : QDialog::Rejected));
    }
  }
};

QTEST_MAIN(OptionsFormTest)
#include "options_form_test.moc"
