// Qt's own file dialogs built from the requests of Open and Save As, driven
// as a user drives them: filters, listing, typed name, button, and the
// question before a file is replaced.

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "files/documents.h"
#include "ground/platform.h"
#include "support/filebytes.h"
#include "support/modal.h"

using namespace zelvar;
using zelvar::testing::readAll;
using zelvar::testing::whileModal;
using zelvar::testing::writeAll;

namespace {

// The names the dialog lists in its folder, sorted.
QStringList listed(QFileDialog* dialog) {
    auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    if (!view || !view->model()) {
        return {};
    }
    QStringList names;
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row) {
        names << view->model()->index(row, 0, root).data().toString();
    }
    names.sort();
    return names;
}

// Puts the name into the name field (unless offered already) and presses
// the accept button; a question that comes up is answered and its text is
// returned.
QString nameAndAccept(QFileDialog* dialog, const QString& name,
                      QMessageBox::StandardButton answer) {
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (edit->text() != name) {
        dialog->activateWindow();
        edit->setFocus();
        if (!QTest::qWaitFor([edit] { return edit->hasFocus(); })) {
            return QStringLiteral("<the name field takes no focus>");
        }
        // Set as a whole: the completion list that typing opens (sooner or
        // later, as the machine's speed has it) is not what is tested here.
        edit->setText(name);
    }
    auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    QPushButton* accept =
        buttons->button(dialog->acceptMode() == QFileDialog::AcceptSave ? QDialogButtonBox::Save
                                                                        : QDialogButtonBox::Open);
    QString question;
    whileModal([accept] { accept->click(); },
               [&](QWidget* window) {
                   if (auto* box = qobject_cast<QMessageBox*>(window)) {
                       question = box->text();
                       box->button(answer)->click();
                   }
               });
    return question;
}

} // namespace

class QtDialogsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void openListsByFilter_data();
    void openListsByFilter();
    void saveAsksBeforeReplacing_data();
    void saveAsksBeforeReplacing();
    void answersHaveAltKeys_data();
    void answersHaveAltKeys();

private:
    QTemporaryDir dir_;
    Platform platform_;
};

void QtDialogsTest::initTestCase() {
    QVERIFY(dir_.isValid());
    for (const char* name : {"README", "page.html", "notes.txt"}) {
        writeAll(dir_.filePath(name), "x");
    }
    platform_ = makeQtPlatform();
}

void QtDialogsTest::openListsByFilter_data() {
    QTest::addColumn<int>("filter");
    QTest::addColumn<QStringList>("names"); // what the folder lists
    QTest::addColumn<QString>("chosen");
    QTest::newRow("HTML soubor") << 1 << QStringList{"page.html"} << "page.html";
    // Every file, also a name without a dot.
    QTest::newRow("Všechny soubory")
        << 2 << QStringList{"README", "notes.txt", "page.html"} << "README";
}

void QtDialogsTest::openListsByFilter() {
    QFETCH(int, filter);
    QFETCH(QStringList, names);
    QFETCH(QString, chosen);
    FileDialogRequest request = Documents::openRequest();
    request.filterIndex = filter;
    request.fileName = dir_.filePath("page.html");
    FileDialogAnswer answer;
    bool driven = false;
    whileModal([&] { answer = platform_.dialogs->openFile(nullptr, request); },
               [&](QWidget* window) {
                   auto* dialog = qobject_cast<QFileDialog*>(window);
                   QVERIFY(dialog);
                   QCOMPARE(dialog->windowTitle(), request.title);
                   // The entries read as the program writes them.
                   auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
                   QStringList captions;
                   for (int i = 0; i < types->count(); ++i) {
                       captions << types->itemText(i);
                   }
                   QCOMPARE(captions.join(";;"), request.filter);
                   QCOMPARE(types->currentIndex(), filter - 1);
                   QTRY_COMPARE(listed(dialog), names);
                   QCOMPARE(nameAndAccept(dialog, chosen, QMessageBox::NoButton), QString());
                   driven = true;
               });
    QVERIFY(driven);
    QVERIFY(answer.accepted);
    QCOMPARE(answer.fileName, dir_.filePath(chosen));
    QCOMPARE(answer.filterIndex, filter);
}

void QtDialogsTest::saveAsksBeforeReplacing_data() {
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name"); // the file the answer names
    QTest::addColumn<int>("answer");   // to the question, when one comes up
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("own"); // page.html is the page's file: 1 as it was, 2 changed since
    const int yes = int(QMessageBox::Yes);
    const int no = int(QMessageBox::No);
    QTest::newRow("existing file, Yes") << 1 << "page.html"
                                        << "page.html" << yes << true << true << 0;
    QTest::newRow("existing file, No") << 1 << "page.html"
                                       << "page.html" << no << true << false << 0;
    QTest::newRow("new file") << 1 << "new.html"
                              << "new.html" << yes << false << true << 0;
    // The filter's extension is part of the name the question is about.
    QTest::newRow("existing by the HTML filter, No") << 1 << "page"
                                                     << "page.html" << no << true << false << 0;
    QTest::newRow("existing by the text filter, Yes") << 2 << "notes"
                                                      << "notes.txt" << yes << true << true << 0;
    QTest::newRow("new by the text filter") << 2 << "page"
                                            << "page.txt" << yes << false << true << 0;
    // The page's own file is replaced without a question, unless another
    // program changed it; another file still asks.
    QTest::newRow("own file") << 1 << "page.html"
                              << "page.html" << no << false << true << 1;
    QTest::newRow("own file changed since, Ano") << 1 << "page.html"
                                                 << "page.html" << yes << true << true << 2;
    QTest::newRow("own file changed since, Ne") << 1 << "page.html"
                                                << "page.html" << no << true << false << 2;
    QTest::newRow("another file than its own") << 2 << "notes"
                                               << "notes.txt" << no << true << false << 1;
}

void QtDialogsTest::saveAsksBeforeReplacing() {
    QFETCH(int, filter);
    QFETCH(QString, typed);
    QFETCH(QString, name);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, accepted);
    QFETCH(int, own);
    FileDialogRequest request = Documents::saveRequest();
    request.fileName = dir_.filePath("page.html");
    request.filterIndex = filter;
    if (own > 0) {
        request.ownFile = request.fileName;
        request.ownFileChanged = own == 2;
    }
    FileDialogAnswer result;
    QString question;
    bool stillOpen = false;
    whileModal([&] { result = platform_.dialogs->saveFile(nullptr, request); },
               [&](QWidget* window) {
                   auto* dialog = qobject_cast<QFileDialog*>(window);
                   QVERIFY(dialog);
                   QVERIFY(!dialog->testOption(QFileDialog::DontConfirmOverwrite));
                   question = nameAndAccept(dialog, typed, QMessageBox::StandardButton(answer));
                   // After No the dialog stays open for another name.
                   stillOpen = dialog->isVisible();
               });
    QCOMPARE(!question.isEmpty(), asked);
    if (asked) {
        QVERIFY2(question.contains(name), qPrintable(question));
        QCOMPARE(question.contains(QString::fromUtf8("změněn jiným programem")), own == 2);
    }
    QCOMPARE(stillOpen, !accepted);
    QCOMPARE(result.accepted, accepted);
    if (accepted) {
        QCOMPARE(result.fileName, dir_.filePath(name));
    }
    // The dialog only names the file; nothing is written by it.
    QCOMPARE(readAll(dir_.filePath("page.html")), QByteArray("x"));
}

void QtDialogsTest::answersHaveAltKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("answer");
    QTest::newRow("Alt+A") << int(Qt::Key_A) << int(MsgButton::Yes);
    QTest::newRow("Alt+N") << int(Qt::Key_N) << int(MsgButton::No);
    QTest::newRow("Alt+S") << int(Qt::Key_S) << int(MsgButton::Cancel);
}

void QtDialogsTest::answersHaveAltKeys() {
    QFETCH(int, key);
    QFETCH(int, answer);
    // The focus comes back to where it was.
    QLineEdit before;
    before.show();
    QVERIFY(QTest::qWaitForWindowActive(&before));
    before.setFocus();
    MsgButton got = MsgButton::Ok;
    whileModal(
        [&] { got = platform_.dialogs->messageBox(nullptr, "c", "q", MsgButtons::YesNoCancel); },
        [&](QWidget* window) {
            QVERIFY(QTest::qWaitForWindowActive(window));
            QTest::keyClick(window, Qt::Key(key), Qt::AltModifier);
            // A button's key clicks it after a short press.
            QTRY_VERIFY(!window->isVisible());
        });
    QCOMPARE(int(got), answer);
    QTRY_VERIFY(before.hasFocus());
}

QTEST_MAIN(QtDialogsTest)
#include "tst_qtdialogs.moc"
