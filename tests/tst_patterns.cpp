// The shared dialog patterns: the real message boxes' buttons and defaults,
// the file error report's order and texts, the exception display.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

#include "ground/patterns.h"
#include "ground/platform.h"
#include "support/testprogram.h"
#include "text/pagefile.h"

using namespace zelvar;
using zelvar::testing::ShownDialog;
using zelvar::testing::TestProgram;

namespace {

struct BoxSeen {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
};

// Looks at the message box that is about to show, then presses Enter on it.
void inspectAndPressEnter(BoxSeen* seen) {
    QTimer::singleShot(0, [seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            return;
        }
        seen->caption = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        for (QAbstractButton* b : box->buttons()) {
            seen->buttons << QString::number(box->standardButton(b));
        }
        if (box->defaultButton()) {
            seen->defaultButton = QString::number(box->standardButton(box->defaultButton()));
        }
        QTest::keyClick(box, Qt::Key_Return);
    });
}

QString buttonId(QMessageBox::StandardButton b) {
    return QString::number(b);
}

} // namespace

class PatternsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void enterAnswersTheSecondButton();
    void errorDialogHasOneOk();
    void eraseConfirmationOnlyWhenModified();
    void fileErrorReportWritesWordFirst();
    void fileErrorReportSecondText();
    void fileErrorReportSuccess();
    void exceptionTextFullStop_data();
    void exceptionTextFullStop();
    void guardedCommandShowsException();
};

void PatternsTest::enterAnswersTheSecondButton() {
    Platform platform = makeQtPlatform();
    BoxSeen seen;
    inspectAndPressEnter(&seen);
    QCOMPARE(platform.dialogs->messageBox(nullptr, QString::fromUtf8("Zbystřete prosím..."), "q?",
                                          MsgButtons::OkCancel),
             MsgButton::Cancel);
    QCOMPARE(seen.caption, QString::fromUtf8("Zbystřete prosím..."));
    QCOMPARE(seen.icon, QMessageBox::Warning);
    QCOMPARE(seen.defaultButton, buttonId(QMessageBox::Cancel));
    QCOMPARE(seen.buttons.size(), 2);

    BoxSeen yesNo;
    inspectAndPressEnter(&yesNo);
    QCOMPARE(platform.dialogs->messageBox(nullptr, "c", "q?", MsgButtons::YesNo), MsgButton::No);
    QCOMPARE(yesNo.defaultButton, buttonId(QMessageBox::No));
    QVERIFY(yesNo.buttons.contains(buttonId(QMessageBox::Yes)));

    BoxSeen notice;
    inspectAndPressEnter(&notice);
    QCOMPARE(platform.dialogs->messageBox(nullptr, "c", "n", MsgButtons::Ok), MsgButton::Ok);
    QCOMPARE(notice.buttons, QStringList{buttonId(QMessageBox::Ok)});
}

void PatternsTest::errorDialogHasOneOk() {
    Platform platform = makeQtPlatform();
    BoxSeen seen;
    inspectAndPressEnter(&seen);
    platform.dialogs->errorBox(nullptr, "Error", "failed");
    QCOMPARE(seen.caption, QString("Error"));
    QCOMPARE(seen.text, QString("failed"));
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(seen.buttons, QStringList{buttonId(QMessageBox::Ok)});
}

void PatternsTest::eraseConfirmationOnlyWhenModified() {
    TestProgram p;
    Patterns& patterns = p.form().patterns();
    QVERIFY(patterns.eraseConfirmed(false, text::kEraseEditor));
    QCOMPARE(p.dialogs().shown.size(), 0);
    QVERIFY(!patterns.eraseConfirmed(true, text::kEraseEditor)); // Enter: Cancel
    QCOMPARE(p.dialogs().shown.size(), 1);
    const ShownDialog& d = p.dialogs().shown.first();
    QCOMPARE(d.caption, QString::fromUtf8("Zbystřete prosím..."));
    QCOMPARE(d.text, QString::fromUtf8("Stávající obsah editoru bude smazán !"));
    QCOMPARE(d.buttons, MsgButtons::OkCancel);
    p.dialogs().answers << MsgButton::Ok;
    QVERIFY(patterns.eraseConfirmed(true, text::kEraseEditor));
    QVERIFY(!patterns.askYesNo("q")); // Enter: No
    p.dialogs().answers << MsgButton::Yes;
    QVERIFY(patterns.askYesNo("q"));
}

void PatternsTest::fileErrorReportWritesWordFirst() {
    TestProgram p;
    Patterns& patterns = p.form().patterns();
    patterns.message("Soubor uložen...");
    const bool ok = patterns.fileErrorReport(text::kLoadWording, text::kLoadFailed, [] {
        throw FileError(FileFailure::Open, "Cannot open file x.txt");
    });
    QVERIFY(!ok);
    QCOMPARE(p.dialogs().shown.size(), 1);
    const ShownDialog& d = p.dialogs().shown.first();
    QCOMPARE(d.kind, ShownDialog::Error);
    QCOMPARE(d.caption, QString("Error"));
    QCOMPARE(d.operationMessage, QString::fromUtf8("Chyba při načítání...")); // before the dialog
    QCOMPARE(d.text, QString::fromUtf8("Nepodařilo se načíst soubor ! Pokud problémy přetrvají, "
                                       "kontaktujte autora aplikace !"));
    QCOMPARE(p.message(), QString::fromUtf8("Chyba při načítání...")); // and after it
}

void PatternsTest::fileErrorReportSecondText() {
    TestProgram p;
    Patterns& patterns = p.form().patterns();
    patterns.fileErrorReport(text::kSaveWording, text::kSaveFailed,
                             [] { throw FileError(FileFailure::General, "disk full"); });
    patterns.fileErrorReport(text::kSaveWording, text::kBackupSaveFailed,
                             [] { throw FileError(FileFailure::Create, "Cannot create file"); });
    patterns.fileErrorReport(text::kLibraryLoadWording, text::kLoadFailed,
                             [] { throw std::runtime_error("other"); });
    QCOMPARE(p.dialogs().shown.size(), 3);
    QCOMPARE(p.dialogs().shown[0].text,
             QString::fromUtf8("Nastala chyba při ukládání souboru ! Pokud problémy přetrvají, "
                               "kontaktujte autora aplikace !"));
    QCOMPARE(p.dialogs().shown[1].text,
             QString::fromUtf8("Nepodařilo se uložit soubor ! Pokud problémy přetrvají, "
                               "kontaktujte autora aplikace !"));
    QCOMPARE(p.dialogs().shown[1].operationMessage,
             QString::fromUtf8("Chyba při ukládání zálohy..."));
    QCOMPARE(p.dialogs().shown[2].text,
             QString::fromUtf8("Nastala chyba při načítání knihovny ! Pokud problémy přetrvají, "
                               "kontaktujte autora aplikace !"));
}

void PatternsTest::fileErrorReportSuccess() {
    TestProgram p;
    Patterns& patterns = p.form().patterns();
    patterns.message("before");
    bool ran = false;
    QVERIFY(patterns.fileErrorReport(text::kLoadWording, text::kLoadFailed, [&] { ran = true; }));
    QVERIFY(ran);
    QCOMPARE(p.dialogs().shown.size(), 0);
    QCOMPARE(p.message(), QString("before")); // the command writes its own success message
}

void PatternsTest::exceptionTextFullStop_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "Cannot open file a.txt"
                            << "Cannot open file a.txt.";
    QTest::newRow("full stop") << "Done."
                               << "Done.";
    QTest::newRow("exclamation") << "Stop!"
                                 << "Stop!";
    QTest::newRow("hyphen sorts before") << "a-"
                                         << "a-";
    QTest::newRow("slash sorts after") << "/tmp/"
                                       << "/tmp/.";
    QTest::newRow("digit") << "code 5"
                           << "code 5.";
    QTest::newRow("empty") << ""
                           << "";
}

void PatternsTest::exceptionTextFullStop() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(Patterns::exceptionText(message), shown);
}

void PatternsTest::guardedCommandShowsException() {
    TestProgram p;
    bool after = false;
    p.form().patterns().guarded(
        [] { throw FileError(FileFailure::Open, "Cannot open file /no/such.html"); });
    p.form().patterns().guarded([&] { after = true; });
    QVERIFY(after); // the program goes on
    QCOMPARE(p.dialogs().shown.size(), 1);
    QCOMPARE(p.dialogs().shown[0].caption, QString("Zelvar v2.0"));
    QCOMPARE(p.dialogs().shown[0].text, QString("Cannot open file /no/such.html."));
}

QTEST_MAIN(PatternsTest)
#include "tst_patterns.moc"
