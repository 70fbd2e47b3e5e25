// The spelling check through the real program with the installed Czech
// dictionary: what is underlined, the suggestions and "Přidat do slovníku"
// at the top of the page's popup menu, and Tools > "Nezlomitelné mezery".

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <memory>
#include <sys/stat.h>

#include "editor/editor.h"
#include "editor/htmlhighlighter.h"
#include "ground/speller.h"
#include "support/filebytes.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::TestProgram;

class SpellingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void popup_data();
    void popup();
    void keyboardPopup_data();
    void keyboardPopup();
    void userWordsFromAPipe();
    void byLanguage();
    void nonBreakingSpaces_data();
    void nonBreakingSpaces();

private:
    QString underlined(int line = 0);
    std::unique_ptr<TestProgram> p_;
};

void SpellingTest::initTestCase() {
    p_ = std::make_unique<TestProgram>();
    QVERIFY(p_->showAndActivate());
    auto* speller = p_->form().findChild<Speller*>();
    QVERIFY2(speller, "the Czech dictionary (hunspell-cs) is not installed");
    QTest::qWait(500);
    QVERIFY(!speller->isReady()); // empty pages need no dictionary
    p_->form().editor(1)->setText(QStringLiteral("<p>slovo ulyce</p>"));
    QTRY_VERIFY_WITH_TIMEOUT(speller->isReady(), 30000);
    // The words on screen are checked again once the dictionary is there.
    QTRY_COMPARE(underlined(), QStringLiteral("ulyce"));
}

void SpellingTest::cleanupTestCase() {
    p_.reset();
}

// The underlined words of the page's first line as shown.
QString SpellingTest::underlined(int number) {
    const QTextBlock line = p_->form().editor(1)->document()->findBlockByNumber(number);
    QStringList words;
    for (const QTextLayout::FormatRange& r : line.layout()->formats()) {
        if (r.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline) {
            words << line.text().mid(r.start, r.length);
        }
    }
    return words.join(u' ');
}

void SpellingTest::popup_data() {
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("userWords");
    QTest::newRow("suggestion")
        << QString::fromUtf8("<P title=\"Mapa\">V Praze jsou mnohé ulyce</P>")
        << QStringLiteral("ulice")
        << QString::fromUtf8("<P title=\"Mapa\">V Praze jsou mnohé ulice</P>") << QString();
    QTest::newRow("own word") << QStringLiteral("Naše ulyce")
                              << QString::fromUtf8("Přidat do slovníku")
                              << QStringLiteral("Naše ulyce") << QStringLiteral("ulyce\n");
}

// A right click on "ulyce": the spelling items stand above the menu's own,
// the chosen one does its work as one undo step.
void SpellingTest::popup() {
    QFETCH(QString, html);
    QFETCH(QString, choice);
    QFETCH(QString, result);
    QFETCH(QString, userWords);
    p_->resetEditors();
    Editor* page = p_->form().editor(1);
    page->setPlainText(html);
    QTRY_COMPARE(underlined(), QStringLiteral("ulyce"));

    QTextCursor at(page->document());
    at.setPosition(int(html.indexOf(u"ulyce")) + 2);
    const QPoint pos = page->cursorRect(at).center();
    QStringList items;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QAction* chosen = nullptr;
        for (QAction* a : menu->actions()) {
            items << (a->isSeparator() ? QStringLiteral("-") : a->text());
            chosen = a->text() == choice ? a : chosen;
        }
        // Chosen as the user does: the menu hides, then runs the item.
        if (chosen) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
        } else {
            menu->close();
        }
    });
    QContextMenuEvent click(QContextMenuEvent::Mouse, pos, page->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(page->viewport(), &click);

    const qsizetype own = items.indexOf(QString::fromUtf8("Přidat do slovníku"));
    QVERIFY2(own >= 1 && own <= 5 && items.indexOf(QStringLiteral("ulice")) < own,
             qPrintable(items.join(u'|')));
    QCOMPARE(items.mid(own + 1, 2), QStringList({QStringLiteral("-"), QString::fromUtf8("Písmo")}));
    QCOMPARE(page->toPlainText(), result);
    QCOMPARE(QString::fromUtf8(testing::readFileBytes(p_->path(QStringLiteral("slovnik.txt")))),
             userWords);
    QTRY_COMPARE(underlined(), QString());
    page->undoLast();
    QCOMPARE(page->toPlainText(), html);
}

void SpellingTest::keyboardPopup_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    // The Menu key: the window system sends the page the menu's event.
    QTest::newRow("Menu") << int(Qt::Key_Menu) << int(Qt::NoModifier);
    QTest::newRow("Shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier);
}

// The popup opened from the keyboard offers the caret's word.
void SpellingTest::keyboardPopup() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    p_->resetEditors();
    Editor* page = p_->form().editor(1);
    page->setPlainText(QStringLiteral("Naše kočkka"));
    QTRY_COMPARE(underlined(), QStringLiteral("kočkka"));
    QTextCursor at(page->document());
    at.setPosition(7);
    page->setTextCursor(at);
    QVERIFY(p_->showAndActivate());
    page->setFocus();
    QTRY_VERIFY(page->hasFocus());
    QStringList items;
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : menu->actions()) {
                items << a->text();
            }
            menu->close();
        }
    });
    if (key == Qt::Key_Menu) {
        const QPoint at = page->viewport()->mapTo(page, page->cursorRect().center());
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, page->mapToGlobal(at));
        QApplication::sendEvent(page, &menu);
    } else {
        QTest::keyClick(page, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    }
    QVERIFY2(items.contains(QString::fromUtf8("Přidat do slovníku")), qPrintable(items.join(u'|')));
}

// A FIFO in place of the word list: the dictionary loads all the same, no
// word is written to it and nothing waits for a writer (the exit neither).
void SpellingTest::userWordsFromAPipe() {
    QTemporaryDir dir;
    const QString list = dir.filePath(QStringLiteral("slovnik.txt"));
    QCOMPARE(::mkfifo(QFile::encodeName(list).constData(), 0600), 0);
    Speller speller(Speller::czechAffixFile(), Speller::czechDictionaryFile(), list);
    speller.load();
    QTRY_VERIFY_WITH_TIMEOUT(speller.isReady(), 30000);
    QVERIFY(!speller.addWord(QStringLiteral("zelvarovina")));
}

// Each word in its language's dictionary (English from hunspell-en-us),
// none where no dictionary is installed for the language, none at all in a
// style sheet, whose file's name says what it is.
void SpellingTest::byLanguage() {
    QVERIFY2(QFileInfo::exists(Spellers::dictionaryFolder() + QLatin1String("/en_US.dic")),
             "the English dictionary (hunspell-en-us) is not installed");
    p_->resetEditors();
    const QStringList lines = {
        QString::fromUtf8("<p>Naše sloovo</p>"),
        QStringLiteral("<p lang=\"en-US\">The hause of sloovo</p>"),
        QStringLiteral("<p lang=\"tlh\">Qapla sloovo</p>"),
        QStringLiteral("<div lang=en><p>hause</p></div> sloovo"),
    };
    const QStringList expected = {QStringLiteral("sloovo"), QStringLiteral("hause sloovo"),
                                  QString(), QStringLiteral("hause sloovo")};
    Editor* page = p_->form().editor(1);
    // Opened from its file, as a user does.
    const auto open = [this](const QString& name, const QByteArray& bytes) {
        const QString file = p_->path(name);
        QVERIFY(testing::writeFileBytes(file, bytes));
        p_->dialogs().answers << MsgButton::Ok; // the page's text may go
        p_->dialogs().fileAnswers << FileDialogAnswer{true, file, 1};
        p_->form().action("Otevt1")->trigger();
        QTRY_COMPARE(p_->form().pageRecord(1).file, file);
    };
    open(QStringLiteral("page.html"), lines.join(u'\n').toUtf8());
    for (int i = 0; i < lines.size(); ++i) {
        QTRY_COMPARE_WITH_TIMEOUT(underlined(i), expected[i], 30000);
    }
    // A screen far below the lines read so far gets its languages once the
    // lines between are read, while the program waits.
    QString far = QStringLiteral("<div lang=\"en\">\n");
    for (int i = 0; i < 30000; ++i) {
        far += QStringLiteral("<p>The house</p>\n");
    }
    open(QStringLiteral("far.html"), (far + "<p>The hause</p>").toUtf8());
    page->moveCursor(QTextCursor::End);
    QTRY_COMPARE_WITH_TIMEOUT(underlined(30001), QStringLiteral("hause"), 30000);

    // The same text as a style sheet: nothing to spell.
    open(QStringLiteral("page.css"), (lines.join(u'\n') + "\nh1 { color: red }").toUtf8());
    QTRY_COMPARE(underlined(0) + underlined(1), QString());
    // Coloured as CSS: the property in the colour of attribute names.
    const QTextBlock rule = page->document()->lastBlock();
    const QList<QTextLayout::FormatRange> formats = rule.layout()->formats();
    const auto property = std::find_if(formats.begin(), formats.end(),
                                       [](const auto& r) { return r.start == 5 && r.length == 5; });
    QVERIFY(property != formats.end());
    QCOMPARE(
        property->format.foreground().color(),
        HtmlHighlighter::colour(HtmlKind::AttributeName, page->palette().color(QPalette::Base)));
}

void SpellingTest::nonBreakingSpaces_data() {
    QTest::addColumn<QString>("html");
    QTest::addColumn<int>("selectFrom");
    QTest::addColumn<QString>("result");
    QTest::newRow("page") << QStringLiteral("<a title=\"v x\">V Praze\nk\nnim</a>") << -1
                          << QStringLiteral("<a title=\"v x\">V&nbsp;Praze\nk\nnim</a>");
    QTest::newRow("selection") << QStringLiteral("a b i v\nz x") << 4
                               << QStringLiteral("a b i&nbsp;v\nz&nbsp;x");
}

void SpellingTest::nonBreakingSpaces() {
    QFETCH(QString, html);
    QFETCH(int, selectFrom);
    QFETCH(QString, result);
    p_->resetEditors();
    Editor* page = p_->form().editor(1);
    page->setPlainText(html);
    QTextCursor selection(page->document());
    if (selectFrom >= 0) {
        selection.setPosition(selectFrom);
        selection.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    }
    page->setTextCursor(selection);
    p_->form().action("Nezlomitelnmezery1")->trigger();
    QCOMPARE(page->toPlainText(), result);
    QCOMPARE(p_->message(),
             QString::fromUtf8("Vloženo nezlomitelných mezer: %1...").arg(result.count(u"&nbsp;")));
    page->undoLast();
    QCOMPARE(page->toPlainText(), html);
}

QTEST_MAIN(SpellingTest)
#include "tst_spelling.moc"
