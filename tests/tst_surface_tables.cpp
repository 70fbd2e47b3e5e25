// Invariants of the command-surface tables and of the pictures they name.

#include "ground/glyphs.h"
#include "ground/surface_tables.h"

#include <QByteArray>
#include <QHash>
#include <QIcon>
#include <QImage>
#include <QKeySequence>
#include <QPixmap>
#include <QSet>
#include <QStringDecoder>
#include <QStringList>
#include <QTest>

#include <cstring>
#include <vector>

using namespace zelvar;

namespace {

QString text(const char* s) {
    return s ? QString::fromUtf8(s) : QString();
}

bool isSeparator(const MenuRow& row) {
    return (row.flags & ItemSeparator) != 0;
}

struct MenuTable {
    const char* label;
    std::span<const MenuRow> rows;
};

std::vector<MenuTable> menuTables() {
    return {{"main menu", mainMenuRows()},
            {"page popup", pagePopupRows()},
            {"notes popup", notesPopupRows()}};
}

std::vector<const ToolButtonRow*> allButtons() {
    std::vector<const ToolButtonRow*> out;
    for (const ToolButtonRow& b : toolButtonRows()) {
        out.push_back(&b);
    }
    for (const ToolButtonRow& b : otherButtonRows()) {
        out.push_back(&b);
    }
    return out;
}

QStringList usedGlyphNames() {
    QStringList names;
    for (const MenuTable& t : menuTables()) {
        for (const MenuRow& row : t.rows) {
            if (row.glyph && !names.contains(text(row.glyph))) {
                names << text(row.glyph);
            }
        }
    }
    for (const ToolButtonRow* b : allButtons()) {
        if (b->glyph && !names.contains(text(b->glyph))) {
            names << text(b->glyph);
        }
    }
    return names;
}

bool validUtf8(const char* s) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder(QByteArray(s));
    return !decoder.hasError() && !decoded.contains(QChar::ReplacementCharacter);
}

// The text a Qt button shows for a caption: "&&" is a literal ampersand,
// a single '&' marks the access key and is not shown.
QString shownButtonText(const QString& caption) {
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&') {
            if (i + 1 < caption.size() && caption[i + 1] == u'&') {
                out += u'&';
                ++i;
            }
            continue;
        }
        out += caption[i];
    }
    return out;
}

const ToolButtonRow* findButton(const char* name) {
    for (const ToolButtonRow* b : allButtons()) {
        if (std::strcmp(b->name, name) == 0) {
            return b;
        }
    }
    return nullptr;
}

const MenuRow* findMenuRow(std::span<const MenuRow> rows, const char* name) {
    for (const MenuRow& row : rows) {
        if (std::strcmp(row.name, name) == 0) {
            return &row;
        }
    }
    return nullptr;
}

// Whether any pixel of the image is not fully transparent.
bool hasInk(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(argb.pixel(x, y)) != 0) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

class TestSurfaceTables : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void objectNamesAreUnique();
    void textsAreValidUtf8();
    void menuLevelsAreWellFormed();
    void separatorsAreNamedAndBare();
    void menuFlagsAreConsistent();
    void shortcutsParse();
    void shortcutsAreUniqueWithinEachMenu();
    void dateTimeKeyBelongsToTheInsertItem();
    void menuBarAccessKeysAreDistinct();
    void popupsOfferTheSameCommands();
    void toolGroupsAreInBandOrder();
    void checkBoxesMatchTheirGroups();
    void checkBoxOrder();
    void buttonsNameExistingGroups();
    void buttonCountsPerGroup();
    void everySpeedButtonStandsOnce();
    void buttonsHaveCaptionOrGlyph();
    void buttonCaptionsShowLiteralAmpersands();
    void buttonWidths();
    void undoAndDeleteButtonsLookAlike();
    void frameButtonsShareTheirPictures();
    void usedGlyphsExistAndAreDrawn();
    void frameGlyphsAreLarger();
    void unknownGlyphIsNull();
    void glyphsAreCached();
};

void TestSurfaceTables::objectNamesAreUnique() {
    QSet<QString> seen;
    auto add = [&](const char* name) {
        QVERIFY2(name && *name, "empty object name");
        QVERIFY2(!seen.contains(text(name)), name);
        seen.insert(text(name));
    };
    for (const MenuTable& t : menuTables()) {
        for (const MenuRow& row : t.rows) {
            add(row.name);
        }
    }
    for (const ToolButtonRow* b : allButtons()) {
        add(b->name);
    }
    for (const ToolGroupRow& g : toolGroupRows()) {
        add(g.name);
        add(g.checkBox);
    }
}

void TestSurfaceTables::textsAreValidUtf8() {
    for (const MenuTable& t : menuTables()) {
        for (const MenuRow& row : t.rows) {
            for (const char* s : {row.caption, row.hint}) {
                if (s) {
                    QVERIFY2(validUtf8(s), row.name);
                }
            }
        }
    }
    for (const ToolButtonRow* b : allButtons()) {
        for (const char* s : {b->caption, b->hint}) {
            if (s) {
                QVERIFY2(validUtf8(s), b->name);
            }
        }
    }
    for (const ToolGroupRow& g : checkBoxRows()) {
        QVERIFY2(validUtf8(g.checkCaption), g.checkBox);
    }
}

void TestSurfaceTables::menuLevelsAreWellFormed() {
    for (const MenuTable& t : menuTables()) {
        QVERIFY2(!t.rows.empty(), t.label);
        QCOMPARE(t.rows.front().level, 0);
        const MenuRow* levelOne = nullptr;
        int previous = 0;
        for (const MenuRow& row : t.rows) {
            QVERIFY2(row.level >= 0 && row.level <= 2, row.name);
            if (row.level == 0) {
                levelOne = nullptr;
                QVERIFY2(!isSeparator(row), row.name);
                QVERIFY2(!row.shortcut, row.name);
            } else if (row.level == 1) {
                levelOne = &row;
            } else {
                // A submenu item follows its opener or a sibling, and the
                // opener is a real item without a key of its own.
                QVERIFY2(previous >= 1, row.name);
                QVERIFY2(levelOne, row.name);
                QVERIFY2(!isSeparator(*levelOne), levelOne->name);
                QVERIFY2(!levelOne->shortcut, levelOne->name);
            }
            previous = row.level;
        }
    }
    // Both popup menus have exactly one root.
    for (auto rows : {pagePopupRows(), notesPopupRows()}) {
        int roots = 0;
        for (const MenuRow& row : rows) {
            roots += row.level == 0 ? 1 : 0;
        }
        QCOMPARE(roots, 1);
    }
}

void TestSurfaceTables::separatorsAreNamedAndBare() {
    for (const MenuTable& t : menuTables()) {
        const auto& rows = t.rows;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const MenuRow& row = rows[i];
            if (!isSeparator(row)) {
                if (row.level > 0) {
                    QVERIFY2(row.caption && *row.caption, row.name);
                }
                continue;
            }
            QVERIFY2(!row.caption, row.name);
            QVERIFY2(!row.shortcut && !row.glyph && !row.hint, row.name);
            QVERIFY2(row.flags == ItemSeparator, row.name);
            const QString name = text(row.name);
            QVERIFY2(name.size() >= 2 && name[0] == u'N', row.name);
            bool digits = false;
            name.mid(1).toInt(&digits);
            QVERIFY2(digits, row.name);
            // Never first, last or doubled within its menu: the nearest
            // sibling on either side (skipping deeper submenu rows) is an item.
            std::size_t before = i;
            while (before > 0 && rows[before - 1].level > row.level) {
                --before;
            }
            QVERIFY2(before > 0, row.name);
            QVERIFY2(rows[before - 1].level == row.level && !isSeparator(rows[before - 1]),
                     row.name);
            std::size_t after = i + 1;
            while (after < rows.size() && rows[after].level > row.level) {
                ++after;
            }
            QVERIFY2(after < rows.size(), row.name);
            QVERIFY2(rows[after].level == row.level && !isSeparator(rows[after]), row.name);
        }
    }
}

void TestSurfaceTables::menuFlagsAreConsistent() {
    for (const MenuTable& t : menuTables()) {
        QHash<const MenuRow*, int> defaults; // per menu: level 0 row -> count
        const MenuRow* menu = nullptr;
        for (const MenuRow& row : t.rows) {
            if (row.level == 0) {
                menu = &row;
            }
            if (row.flags & ItemChecked) {
                QVERIFY2(row.flags & ItemCheckable, row.name);
            }
            if (row.flags & ItemDefault) {
                ++defaults[menu];
            }
        }
        for (auto it = defaults.cbegin(); it != defaults.cend(); ++it) {
            QVERIFY2(it.value() <= 1, it.key()->name);
        }
    }
    // The background-colour items form one radio group with one mark.
    int marked = 0;
    int colours = 0;
    for (const MenuRow& row : mainMenuRows()) {
        if (text(row.name).startsWith(QLatin1String("Color"))) {
            ++colours;
            QVERIFY2(row.flags & ItemCheckable, row.name);
            marked += (row.flags & ItemChecked) ? 1 : 0;
        }
    }
    QCOMPARE(colours, 5);
    QCOMPARE(marked, 1);
}

void TestSurfaceTables::shortcutsParse() {
    for (const MenuTable& t : menuTables()) {
        for (const MenuRow& row : t.rows) {
            if (!row.shortcut) {
                continue;
            }
            // One key, or several that do the same ("Ctrl+Y; Ctrl+Shift+Z").
            const QString s = text(row.shortcut);
            const QList<QKeySequence> keys =
                QKeySequence::listFromString(s, QKeySequence::PortableText);
            QVERIFY2(!keys.isEmpty(), row.name);
            for (const QKeySequence& seq : keys) {
                QCOMPARE(seq.count(), 1);
                QVERIFY2(seq[0].key() != Qt::Key_unknown, row.name);
            }
            // Written the way Qt writes it, so that it reads back unchanged.
            QCOMPARE(QKeySequence::listToString(keys, QKeySequence::PortableText), s);
        }
    }
}

void TestSurfaceTables::shortcutsAreUniqueWithinEachMenu() {
    for (const MenuTable& t : menuTables()) {
        QHash<QKeySequence, QString> owner;
        for (const MenuRow& row : t.rows) {
            if (!row.shortcut) {
                continue;
            }
            const QKeySequence seq =
                QKeySequence::fromString(text(row.shortcut), QKeySequence::PortableText);
            QVERIFY2(!owner.contains(seq),
                     qPrintable(QStringLiteral("%1: %2 and %3 share %4")
                                    .arg(QLatin1String(t.label), owner.value(seq), text(row.name),
                                         text(row.shortcut))));
            owner.insert(seq, text(row.name));
        }
    }
}

void TestSurfaceTables::dateTimeKeyBelongsToTheInsertItem() {
    const MenuRow* insert = findMenuRow(mainMenuRows(), "Vloitdatumas1");
    QVERIFY(insert);
    QCOMPARE(text(insert->shortcut), QStringLiteral("F6"));
    const MenuRow* backup = findMenuRow(mainMenuRows(), "Vymazatzlohu1");
    QVERIFY(backup);
    QVERIFY(!backup->shortcut);
}

void TestSurfaceTables::menuBarAccessKeysAreDistinct() {
    QSet<QKeySequence> keys;
    int menus = 0;
    for (const MenuRow& row : mainMenuRows()) {
        if (row.level != 0) {
            continue;
        }
        ++menus;
        const QString caption = text(row.caption);
        QCOMPARE(caption.count(u'&'), 1);
        const QKeySequence key = QKeySequence::mnemonic(caption);
        QVERIFY2(!key.isEmpty(), row.name);
        QVERIFY2(!keys.contains(key), row.name);
        keys.insert(key);
    }
    QCOMPARE(menus, 7);
}

void TestSurfaceTables::popupsOfferTheSameCommands() {
    // The notes popup repeats the page popup's captions, keys and pictures
    // row for row; only the names and the find item's state differ.
    const auto page = pagePopupRows();
    const auto notes = notesPopupRows();
    QCOMPARE(page.size(), notes.size());
    for (std::size_t i = 0; i < page.size(); ++i) {
        QCOMPARE(page[i].level, notes[i].level);
        QCOMPARE(text(page[i].caption), text(notes[i].caption));
        QCOMPARE(text(page[i].shortcut), text(notes[i].shortcut));
        QCOMPARE(text(page[i].glyph), text(notes[i].glyph));
        QCOMPARE(page[i].flags & ~unsigned(ItemDisabled), notes[i].flags & ~unsigned(ItemDisabled));
    }
    const MenuRow* pageFind = findMenuRow(page, "Najt2");
    const MenuRow* notesFind = findMenuRow(notes, "Najt3");
    QVERIFY(pageFind && notesFind);
    QVERIFY(pageFind->flags & ItemDisabled);
    QVERIFY(!(notesFind->flags & ItemDisabled));
}

void TestSurfaceTables::toolGroupsAreInBandOrder() {
    const auto groups = toolGroupRows();
    QCOMPARE(groups.size(), std::size_t(8));
    int previousRow = 1;
    int perRow[3] = {0, 0, 0};
    QSet<QString> names;
    for (const ToolGroupRow& g : groups) {
        QVERIFY2(g.row == 1 || g.row == 2, g.name);
        QVERIFY2(g.row >= previousRow, g.name);
        previousRow = g.row;
        ++perRow[g.row];
        QVERIFY(text(g.name).startsWith(QLatin1String("PageScroller")));
        QVERIFY(text(g.checkBox).startsWith(QLatin1String("CheckBox")));
        names.insert(text(g.name));
    }
    QCOMPARE(perRow[1], 4);
    QCOMPARE(perRow[2], 4);
    for (int i = 1; i <= 8; ++i) {
        QVERIFY(names.contains(QStringLiteral("PageScroller%1").arg(i)));
    }
}

void TestSurfaceTables::checkBoxesMatchTheirGroups() {
    QCOMPARE(checkBoxRows().size(), toolGroupRows().size());
    for (const ToolGroupRow& box : checkBoxRows()) {
        const ToolGroupRow* match = nullptr;
        for (const ToolGroupRow& g : toolGroupRows()) {
            if (std::strcmp(g.name, box.name) == 0) {
                QVERIFY2(!match, box.name);
                match = &g;
            }
        }
        QVERIFY2(match, box.name);
        QCOMPARE(text(match->checkBox), text(box.checkBox));
        QCOMPARE(text(match->checkCaption), text(box.checkCaption));
        QCOMPARE(match->row, box.row);
    }
}

void TestSurfaceTables::checkBoxOrder() {
    QStringList captions;
    for (const ToolGroupRow& box : checkBoxRows()) {
        captions << text(box.checkCaption);
    }
    const QStringList expected = {QStringLiteral("Soubor"),         QStringLiteral("Editor"),
                                  QStringLiteral("Statistika"),     QStringLiteral("Text"),
                                  QStringLiteral("Poloha"),         QStringLiteral("Používané"),
                                  QStringLiteral("Zvláštní znaky"), QStringLiteral("Cíl (target)")};
    QCOMPARE(captions, expected);
}

void TestSurfaceTables::buttonsNameExistingGroups() {
    // Each group's buttons stand together, in the order of the groups.
    QHash<QString, int> groupIndex;
    int i = 0;
    for (const ToolGroupRow& g : toolGroupRows()) {
        groupIndex.insert(text(g.name), i++);
    }
    int current = -1;
    for (const ToolButtonRow& b : toolButtonRows()) {
        QVERIFY2(b.group && groupIndex.contains(text(b.group)), b.name);
        const int index = groupIndex.value(text(b.group));
        QVERIFY2(index >= current, b.name);
        current = index;
    }
    const QStringList boxes = {QStringLiteral("GroupBox1"), QStringLiteral("GroupBox3"),
                               QStringLiteral("GroupBox2"), QStringLiteral("TForm1")};
    current = -1;
    for (const ToolButtonRow& b : otherButtonRows()) {
        const int index = boxes.indexOf(text(b.group));
        QVERIFY2(index >= 0, b.name);
        QVERIFY2(index >= current, b.name);
        current = index;
    }
    QCOMPARE(current, boxes.size() - 1);
}

void TestSurfaceTables::buttonCountsPerGroup() {
    QHash<QString, int> count;
    for (const ToolButtonRow& b : toolButtonRows()) {
        ++count[text(b.group)];
    }
    QCOMPARE(count.value(QStringLiteral("PageScroller1")), 9);
    QCOMPARE(count.value(QStringLiteral("PageScroller2")), 6);
    QCOMPARE(count.value(QStringLiteral("PageScroller3")), 9);
    QCOMPARE(count.value(QStringLiteral("PageScroller4")), 0);
    QCOMPARE(count.value(QStringLiteral("PageScroller5")), 6);
    QCOMPARE(count.value(QStringLiteral("PageScroller6")), 15);
    QCOMPARE(count.value(QStringLiteral("PageScroller7")), 12);
    QCOMPARE(count.value(QStringLiteral("PageScroller8")), 4);

    QHash<QString, int> boxes;
    for (const ToolButtonRow& b : otherButtonRows()) {
        ++boxes[text(b.group)];
    }
    QCOMPARE(boxes.value(QStringLiteral("GroupBox1")), 8);
    QCOMPARE(boxes.value(QStringLiteral("GroupBox3")), 4);
    QCOMPARE(boxes.value(QStringLiteral("GroupBox2")), 2);
    QCOMPARE(boxes.value(QStringLiteral("TForm1")), 2);
}

void TestSurfaceTables::everySpeedButtonStandsOnce() {
    QHash<int, int> seen;
    const QLatin1String prefix("SpeedButton");
    for (const ToolButtonRow* b : allButtons()) {
        const QString name = text(b->name);
        if (!name.startsWith(prefix)) {
            continue;
        }
        bool ok = false;
        const int number = name.mid(prefix.size()).toInt(&ok);
        QVERIFY2(ok, b->name);
        ++seen[number];
    }
    for (int n = 1; n <= 69; ++n) {
        QVERIFY2(seen.value(n) == 1, qPrintable(QStringLiteral("SpeedButton%1").arg(n)));
    }
    QCOMPARE(seen.size(), 69);
}

void TestSurfaceTables::buttonsHaveCaptionOrGlyph() {
    for (const ToolButtonRow* b : allButtons()) {
        QVERIFY2(b->caption || b->glyph, b->name);
        if (b->caption) {
            QVERIFY2(*b->caption, b->name);
        }
        QVERIFY2(b->hint && *b->hint, b->name);
        // Toolbar and notes buttons are either text or picture, never both.
        if (text(b->name).startsWith(QLatin1String("SpeedButton"))) {
            QVERIFY2(!(b->caption && b->glyph), b->name);
        }
    }
    for (const char* name : {"BitBtn1", "BitBtn2"}) {
        const ToolButtonRow* b = findButton(name);
        QVERIFY(b);
        QVERIFY2(b->caption && b->glyph, name);
    }
}

void TestSurfaceTables::buttonCaptionsShowLiteralAmpersands() {
    for (const ToolButtonRow* b : allButtons()) {
        if (!b->caption) {
            continue;
        }
        const QString caption = text(b->caption);
        // No access keys on these buttons: every ampersand is doubled.
        QVERIFY2(QKeySequence::mnemonic(caption).isEmpty(), b->name);
        QCOMPARE(shownButtonText(caption).count(u'&') * 2, caption.count(u'&'));
    }
    for (const char* name : {"SpeedButton4", "SpeedButton16"}) {
        const ToolButtonRow* b = findButton(name);
        QVERIFY(b);
        QCOMPARE(shownButtonText(text(b->caption)), QStringLiteral("&"));
    }
}

void TestSurfaceTables::buttonWidths() {
    for (const ToolButtonRow& b : toolButtonRows()) {
        const int expected = std::strcmp(b.name, "SpeedButton49") == 0 ? 22 : 23;
        QVERIFY2(b.width == expected, b.name);
    }
    for (const ToolButtonRow& b : otherButtonRows()) {
        QVERIFY2(b.width > 0, b.name);
    }
}

void TestSurfaceTables::undoAndDeleteButtonsLookAlike() {
    // "ZP" and "DE", on the toolbar and in the notes box, are bold maroon
    // and start disabled; "KO" is bold maroon and enabled.
    for (const char* name : {"SpeedButton39", "SpeedButton40", "SpeedButton68", "SpeedButton69"}) {
        const ToolButtonRow* b = findButton(name);
        QVERIFY(b);
        const unsigned want = StyleBold | StyleMaroon | StyleDisabled;
        QVERIFY2((b->style & want) == want, name);
    }
    const ToolButtonRow* exit = findButton("SpeedButton41");
    QVERIFY(exit);
    QVERIFY(exit->style & StyleMaroon);
    QVERIFY(!(exit->style & StyleDisabled));
    // Maroon and navy exclude each other.
    for (const ToolButtonRow* b : allButtons()) {
        QVERIFY2(!((b->style & StyleMaroon) && (b->style & StyleNavy)), b->name);
        if (b->style & (StyleMaroon | StyleNavy)) {
            QVERIFY2(b->caption, b->name);
        }
    }
    // No group starts with a gap.
    const char* group = nullptr;
    for (const ToolButtonRow& b : toolButtonRows()) {
        if (!group || std::strcmp(group, b.group) != 0) {
            QVERIFY2(!(b.style & StyleGapBefore), b.name);
            group = b.group;
        }
    }
}

void TestSurfaceTables::frameButtonsShareTheirPictures() {
    // ram_N in the "Rámy" submenu and SpeedButton(61+N) load the same layout
    // and carry the same picture; the six pictures differ.
    QSet<QString> pictures;
    for (int n = 1; n <= 6; ++n) {
        const QByteArray item = QStringLiteral("ram_%1").arg(n).toLatin1();
        const QByteArray button = QStringLiteral("SpeedButton%1").arg(61 + n).toLatin1();
        const MenuRow* row = findMenuRow(mainMenuRows(), item.constData());
        const ToolButtonRow* b = findButton(button.constData());
        QVERIFY(row && b);
        QCOMPARE(row->level, 2);
        QVERIFY(row->glyph);
        QCOMPARE(text(row->glyph), text(b->glyph));
        QCOMPARE(text(b->hint), QStringLiteral("Rozdělení stránky (rámy)..."));
        pictures.insert(text(row->glyph));
    }
    QCOMPARE(pictures.size(), 6);
}

void TestSurfaceTables::usedGlyphsExistAndAreDrawn() {
    const QStringList names = usedGlyphNames();
    QVERIFY(!names.isEmpty());
    for (const QString& name : names) {
        const QIcon icon = glyph(name);
        QVERIFY2(!icon.isNull(), qPrintable(name));
        const QPixmap plain = icon.pixmap(QSize(16, 16), 1.0);
        QVERIFY2(!plain.isNull(), qPrintable(name));
        QVERIFY2(hasInk(plain.toImage()), qPrintable(name));
        const QPixmap dense = icon.pixmap(QSize(16, 16), 2.0);
        QVERIFY2(dense.width() == 32 || dense.width() == 36, qPrintable(name));
        QVERIFY2(hasInk(dense.toImage()), qPrintable(name));
    }
}

void TestSurfaceTables::frameGlyphsAreLarger() {
    for (const QString& name : usedGlyphNames()) {
        const QList<QSize> sizes = glyph(name).availableSizes();
        QVERIFY2(!sizes.isEmpty(), qPrintable(name));
        const int side = name.startsWith(QLatin1String("frames-")) ? 18 : 16;
        QVERIFY2(sizes.contains(QSize(side, side)), qPrintable(name));
    }
}

void TestSurfaceTables::unknownGlyphIsNull() {
    QVERIFY(glyph(QStringLiteral("no-such-picture")).isNull());
    QVERIFY(glyph(QString()).isNull());
    QVERIFY(glyph(QStringLiteral("Copy")).isNull()); // names are case-sensitive
    // asking twice for an unknown name stays null
    QVERIFY(glyph(QStringLiteral("no-such-picture")).isNull());
}

void TestSurfaceTables::glyphsAreCached() {
    for (const QString& name : usedGlyphNames()) {
        QCOMPARE(glyph(name).cacheKey(), glyph(name).cacheKey());
    }
    // Different pictures are different images.
    const QImage copy = glyph(QStringLiteral("copy")).pixmap(QSize(16, 16), 1.0).toImage();
    const QImage paste = glyph(QStringLiteral("paste")).pixmap(QSize(16, 16), 1.0).toImage();
    QVERIFY(copy != paste);
}

QTEST_MAIN(TestSurfaceTables)
#include "tst_surface_tables.moc"
