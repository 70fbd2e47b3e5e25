// The built command surface against its tables: every menu, popup item and
// button exists under its name, in its place and order, with its caption,
// shortcut, hint, start state and look.

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "ground/surface_tables.h"
#include "support/testprogram.h"

using namespace zelvar;
using zelvar::testing::TestProgram;

namespace {

// The object names of a menu's items in display order, submenus flattened
// right after the item that opens them.
void collect(const QMenu* menu, QStringList& names) {
    for (const QAction* a : menu->actions()) {
        names << a->objectName();
        if (a->menu()) {
            collect(a->menu(), names);
        }
    }
}

QStringList tableNames(std::span<const MenuRow> rows, bool withMenus) {
    QStringList names;
    for (const MenuRow& r : rows) {
        if (r.level > 0 || withMenus) {
            names << QLatin1String(r.name);
        }
    }
    return names;
}

} // namespace

class SurfaceTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void menusInOrder();
    void popupMenusInOrder();
    void everyItemAsItsRow();
    void everyButtonAsItsRow();
    void everyCommandFindsItsControl();
    void groupsInTwoRows();
    void checkBoxesInOrder();
};

void SurfaceTest::menusInOrder() {
    TestProgram p;
    QStringList built;
    for (const QAction* top : p.form().menuBar()->actions()) {
        built << top->objectName();
        collect(top->menu(), built);
    }
    QCOMPARE(built, tableNames(mainMenuRows(), true));
    QStringList titles;
    for (const QAction* top : p.form().menuBar()->actions()) {
        titles << top->text();
    }
    QCOMPARE(titles, QStringList({"&Soubor", QString::fromUtf8("Ú&pravy"),
                                  QString::fromUtf8("&Formát"), QString::fromUtf8("&Nástroje"),
                                  "&Operace", "O&dkazy", QString::fromUtf8("Nápo&věda")}));
}

void SurfaceTest::popupMenusInOrder() {
    TestProgram p;
    QStringList page;
    collect(p.form().menu("PopupMenu1"), page);
    QCOMPARE(page, tableNames(pagePopupRows(), false));
    QStringList notes;
    collect(p.form().menu("PopupMenu2"), notes);
    QCOMPARE(notes, tableNames(notesPopupRows(), false));
}

void SurfaceTest::everyItemAsItsRow() {
    TestProgram p;
    TForm1& f = p.form();
    int checkedRows = 0;
    for (auto rows : {mainMenuRows(), pagePopupRows(), notesPopupRows()}) {
        for (const MenuRow& r : rows) {
            if (r.level == 0) {
                continue;
            }
            const QAction* a = f.action(r.name);
            QVERIFY2(a, r.name);
            if (r.flags & ItemSeparator) {
                QVERIFY2(a->isSeparator(), r.name);
                continue;
            }
            QCOMPARE(a->text(), QString::fromUtf8(r.caption));
            const QList<QKeySequence> keys =
                r.shortcut ? QKeySequence::listFromString(QLatin1String(r.shortcut))
                           : QList<QKeySequence>();
            QCOMPARE(a->shortcuts(), keys);
            QCOMPARE(a->isEnabled(), !(r.flags & ItemDisabled));
            QCOMPARE(a->font().bold(), bool(r.flags & ItemDefault));
            if (r.flags & (ItemCheckable | ItemChecked)) {
                QVERIFY2(a->isCheckable(), r.name);
                QCOMPARE(a->isChecked(), bool(r.flags & ItemChecked));
            }
            QCOMPARE(a->icon().isNull(), r.glyph == nullptr);
            if (r.hint) {
                QCOMPARE(a->toolTip(), QString::fromUtf8(r.hint));
            }
            ++checkedRows;
        }
    }
    QVERIFY(checkedRows > 90);
}

// A command connected by a name that no menu item or button has would never
// run.
void SurfaceTest::everyCommandFindsItsControl() {
    TestProgram p;
    QCOMPARE(p.form().unmatchedControls(), QStringList());
}

void SurfaceTest::everyButtonAsItsRow() {
    TestProgram p;
    TForm1& f = p.form();
    for (auto rows : {toolButtonRows(), otherButtonRows()}) {
        for (const ToolButtonRow& r : rows) {
            const QAbstractButton* b = f.button(r.name);
            QVERIFY2(b, r.name);
            QCOMPARE(b->text(), r.caption ? QString::fromUtf8(r.caption) : QString());
            QCOMPARE(b->toolTip(), r.hint ? QString::fromUtf8(r.hint) : QString());
            QCOMPARE(b->isEnabled(), !(r.style & StyleDisabled));
            QCOMPARE(b->font().bold(), bool(r.style & StyleBold));
            QCOMPARE(b->icon().isNull(), r.glyph == nullptr);
            if (r.style & StyleMaroon) {
                QCOMPARE(b->palette().color(QPalette::Active, QPalette::ButtonText),
                         QColor(0x800000));
            }
            if (r.style & StyleNavy) {
                QCOMPARE(b->palette().color(QPalette::Active, QPalette::ButtonText),
                         QColor(0x000080));
            }
        }
    }
    for (const ToolButtonRow& r : toolButtonRows()) {
        const QAbstractButton* b = f.button(r.name);
        QCOMPARE(b->parentWidget()->objectName(), QString::fromLatin1(r.group));
        QCOMPARE(b->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(b->focusPolicy(), Qt::NoFocus);
    }
}

void SurfaceTest::groupsInTwoRows() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    TForm1& f = p.form();
    QList<int> rowY;
    int lastX = -1;
    int lastRow = 0;
    for (const ToolGroupRow& g : toolGroupRows()) {
        auto* bar = f.findChild<QToolBar*>(g.name);
        QVERIFY2(bar && bar->isVisible(), g.name);
        QVERIFY(bar->isMovable());
        if (g.row != lastRow) {
            rowY << bar->y();
            lastRow = g.row;
            lastX = -1;
        }
        QCOMPARE(bar->y(), rowY.last());
        QVERIFY2(bar->x() > lastX, g.name); // left to right within the row
        lastX = bar->x();
    }
    QCOMPARE(rowY.size(), 2);
    QVERIFY(rowY[1] > rowY[0]);
}

void SurfaceTest::checkBoxesInOrder() {
    TestProgram p;
    QVERIFY(p.showAndActivate());
    int lastX = -1;
    for (const ToolGroupRow& g : checkBoxRows()) {
        auto* box = p.form().findChild<QCheckBox*>(g.checkBox);
        QVERIFY2(box, g.checkBox);
        QVERIFY(box->isChecked());
        QCOMPARE(box->text(), QString::fromUtf8(g.checkCaption));
        QVERIFY(box->x() > lastX);
        lastX = box->x();
    }
}

QTEST_MAIN(SurfaceTest)
#include "tst_surface.moc"
