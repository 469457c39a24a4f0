// The AVI creator's "Export Video...": the save dialog's formats, the
// counter, the file written, and the button that cancels the export.
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "app/avi_creator.h"
#include "app1_support.h"
#include "support/scripted_dialogs.h"

using namespace vesk;

class VideoExportTest : public QObject {
  Q_OBJECT

 private slots:
  void ExportsOrCancels_data() {
    QTest::addColumn<bool>("cancel");
    QTest::newRow("finished") << false;
    QTest::newRow("cancelled") << true;
  }

  void ExportsOrCancels() {
    QFETCH(bool, cancel);
    QTemporaryDir dir;
    const QString list = testing::WriteFrameList(dir, 3, [](int k) {
      return Bitmap(8 + k, 6, MakeColor(40 * k, 0, 0));  // sizes differ: scaled to the first
    });
    ScriptedDialogs dialogs;
    const QString out = dir.filePath("movie");  // the default extension is added
    dialogs.save_answers.push_back(out);
    TAniToolForm form(dialogs, list);
    form.FormActivate();
    auto* button = form.findChild<QPushButton*>("ExportVideoButton");
    QVERIFY(button != nullptr);
    QCOMPARE(button->text(), QString("Export &Video..."));
    if (cancel) QTimer::singleShot(0, button, &QPushButton::click);  // pressed while it runs

    form.ExportVideoClick();

    QCOMPARE(dialogs.filters, QStringList{"MP4 video (*.mp4)|*.mp4|WebM video (*.webm)|*.webm|"
                                          "Animated GIF (*.gif)|*.gif"});
    QCOMPARE(QFile::exists(out + ".mp4"), !cancel);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), cancel ? 4 : 5);
    QCOMPARE(form.findChild<QLabel*>("Label1")->text(), cancel ? QString() : QString("3/3"));
    QCOMPARE(dialogs.messages.size(), std::size_t{cancel ? 1u : 0u});
    if (cancel) {
      QCOMPARE(dialogs.messages[0].text, QString("Export cancelled: no video file was written."));
    }
    QCOMPARE(button->text(), QString("Export &Video..."));
  }
};

QTEST_MAIN(VideoExportTest)
#include "video_export_test.moc"
