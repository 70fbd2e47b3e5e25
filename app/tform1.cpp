#include "app/tform1.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "editor/editor.h"
#include "editor/htmlhighlighter.h"
#include "editor/spellview.h"
#include "ground/glyphs.h"
#include "ground/patterns.h"
#include "ground/platform.h"
#include "ground/settings.h"
#include "ground/shortcutrouter.h"
#include "ground/speller.h"
#include "ground/surface_tables.h"
#include "ground/texts.h"
#include "tools/swatches.h"

namespace zelvar {

namespace {

const QColor kMaroon(0x80, 0x00, 0x00);
const QColor kNavy(0x00, 0x00, 0x80);

QLabel* boldLabel(const char* caption, QWidget* parent) {
    auto* label = new QLabel(text::q(caption), parent);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

QFrame* separatorLine(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// Colours the text of an enabled control; a disabled one keeps the grey.
void setTextColor(QWidget* w, const QColor& color) {
    QPalette p = w->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::WindowText, color);
        p.setColor(group, QPalette::ButtonText, color);
        p.setColor(group, QPalette::Text, color);
    }
    w->setPalette(p);
}

void applyButtonStyle(QAbstractButton* button, const ToolButtonRow& row) {
    button->setObjectName(QLatin1String(row.name));
    if (row.caption) {
        button->setText(text::q(row.caption));
    }
    if (row.glyph) {
        button->setIcon(glyph(QLatin1String(row.glyph)));
    }
    if (row.hint) {
        button->setToolTip(text::q(row.hint));
    }
    if (row.style & StyleBold) {
        QFont f = button->font();
        f.setBold(true);
        button->setFont(f);
    }
    if (row.style & StyleMaroon) {
        setTextColor(button, kMaroon);
    } else if (row.style & StyleNavy) {
        setTextColor(button, kNavy);
    }
    button->setEnabled(!(row.style & StyleDisabled));
}

// A flat toolbar-style button: hand cursor, never takes the focus.
QToolButton* speedButton(const ToolButtonRow& row, QWidget* parent) {
    auto* b = new QToolButton(parent);
    applyButtonStyle(b, row);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setCursor(Qt::PointingHandCursor);
    b->setToolButtonStyle(row.caption && !row.glyph ? Qt::ToolButtonTextOnly
                                                    : Qt::ToolButtonIconOnly);
    b->setFixedSize(row.width > 0 ? row.width : 23, 22);
    return b;
}

QPushButton* pushButton(const ToolButtonRow& row, QWidget* parent) {
    auto* b = new QPushButton(parent);
    applyButtonStyle(b, row);
    return b;
}

} // namespace

TForm1::TForm1(Platform& platform, QWidget* parent)
    : QMainWindow(parent), platform_(platform),
      settings_(std::make_unique<Settings>(platform.settingsFile)),
      pageEvents_(new PageEvents(this)) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(text::q(text::kMainCaption));
    // Sizeable, with system menu and minimise but no maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("TForm1Client"));
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(6, 0, 1, 0);
    column->setSpacing(0);

    // The toolbar band is a main window of its own, so that its groups can be
    // dragged within it and wrap into two rows.
    auto* band = new QMainWindow(central);
    band->setWindowFlags(Qt::Widget); // QMainWindow always starts as a window of its own
    band->setObjectName(QStringLiteral("ControlBar1"));
    auto* bandBody = new QWidget(band);
    bandBody->setFixedHeight(0);
    band->setCentralWidget(bandBody);
    band->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    column->addWidget(band);
    column->addWidget(buildOptionStrip());
    column->addSpacing(2);
    column->addWidget(buildPanelPlaces(buildPages()), 1);
    column->addWidget(buildBottomRow());
    setCentralWidget(central);

    patterns_ = std::make_unique<Patterns>(this, *platform_.dialogs, operationLabel_);

    buildMenus();
    buildToolbars(band);
    buildStatusBar();

    router_ = new ShortcutRouter(this, menuBar());
    for (Editor* e : editors_) {
        router_->setPopupMenu(e, menu("PopupMenu1"));
    }
    router_->setPopupMenu(notes_, menu("PopupMenu2"));
    router_->setPreRoute([this](QWidget* focus, QKeyCombination key, bool perform) {
        return routePageKeys(focus, key, perform);
    });

    // The page editors' right-click menu and the notes' one.
    auto popupAt = [](Editor* e, QMenu* m) {
        QObject::connect(e, &QWidget::customContextMenuRequested, e,
                         [e, m](const QPoint& pos) { m->exec(e->viewport()->mapToGlobal(pos)); });
    };
    for (Editor* e : editors_) {
        popupAt(e, menu("PopupMenu1"));
    }
    popupAt(notes_, menu("PopupMenu2"));

    for (const PageSlot& slot : kPageSlots) {
        const int n = slot.number;
        Editor* e = editor(n);
        connect(e, &Editor::changed, this, [this, n] {
            richEditChange(n);
            Q_EMIT pageEvents_->textChanged(n);
        });
        connect(e, &Editor::modifiedChanged, this, [this, n] { showFile(n); });
        connect(e, &Editor::lineBreakChanged, this, [this, n] {
            if (n == shownSlot()) {
                showLineBreak(n);
            }
            Q_EMIT pageEvents_->encodingChanged(n);
        });
        connect(e, &Editor::entered, this, [this, n] { richEditEnter(n); });
        connect(e, &Editor::left, this, [this, n] { richEditExit(n); });
        connect(e, &Editor::encodingChanged, this, [this, n] {
            if (n == shownSlot()) {
                showEncoding(n);
            }
            Q_EMIT pageEvents_->encodingChanged(n);
        });
        connect(e, &QPlainTextEdit::cursorPositionChanged, this, [this, n] {
            if (n == shownSlot()) {
                showCaretPlace(n);
            }
        });
        connect(e, &Editor::loadProgress, this, [this](int percent) {
            loadBar_->setVisible(percent >= 0);
            loadBar_->setValue(qMax(0, percent));
        });
        connect(e, &Editor::wordWrapChanged, this, [this, n] {
            if (n == shownSlot()) {
                showWordWrap(n);
            }
        });
        on(slot.formatItem, [this, n] { pageItemClick(n); });
    }
    connect(pageEvents_, &PageEvents::fileChanged, this, [this](int slot) { showFile(slot); });
    connect(pages_, &QTabWidget::currentChanged, this, [this](int index) {
        tabSheetShow(index + 1);
        Q_EMIT pageEvents_->shownPageChanged(index + 1);
    });

    // The window is first shown with page 1.
    tabSheetShow(1);
    pages_->tabBar()->setFocus(Qt::OtherFocusReason);
}

TForm1::~TForm1() = default;

// --- Regions -----------------------------------------------------------------

QWidget* TForm1::buildOptionStrip() {
    auto* strip = new QFrame(this);
    strip->setObjectName(QStringLiteral("Panel10"));
    strip->setFixedHeight(25);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(4, 0, 6, 0);
    row->setSpacing(8);
    int index = 0;
    for (const ToolGroupRow& g : checkBoxRows()) {
        auto* box = new QCheckBox(text::q(g.checkCaption), strip);
        box->setObjectName(QLatin1String(g.checkBox));
        box->setChecked(true);
        row->addWidget(box);
        if (++index == 3) {
            row->addWidget(separatorLine(strip));
        }
    }
    row->addStretch(1);
    row->addWidget(separatorLine(strip));
    QLabel* caption = boldLabel("Operace:", strip);
    caption->setObjectName(QStringLiteral("Label6"));
    row->addWidget(caption);
    operationLabel_ = new QLabel(strip);
    operationLabel_->setObjectName(QStringLiteral("Label2"));
    operationLabel_->setMinimumWidth(170);
    setTextColor(operationLabel_, kMaroon);
    row->addWidget(operationLabel_);
    return strip;
}

QWidget* TForm1::buildPages() {
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    pages_->setUsesScrollButtons(false);
    pages_->tabBar()->setObjectName(QStringLiteral("PageControl1TabBar"));
    // A click on a tab takes the focus to the tab row.
    pages_->tabBar()->setFocusPolicy(Qt::StrongFocus);
    QFont editorFont(QStringLiteral("MS Sans Serif"));
    editorFont.setPixelSize(13);
    for (const PageSlot& slot : kPageSlots) {
        auto* sheet = new QWidget(pages_);
        sheet->setObjectName(QLatin1String(slot.tabSheet));
        auto* layout = new QVBoxLayout(sheet);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* e = new Editor(sheet);
        e->setObjectName(QLatin1String(slot.editor));
        e->setFont(editorFont);
        setTextColor(e, Qt::black);
        // Only the first page takes the Tab key as a character.
        e->setAcceptsTab(slot.number == 1);
        // Its HTML view: the colours and the matching tags, and the
        // spelling underlines once the spelling check has its dictionary.
        new HtmlHighlighter(e);
        new SpellView(e);
        layout->addWidget(e);
        editors_[slot.number - 1] = e;
        pages_->addTab(sheet, text::q(slot.tabCaption));
    }

    // The tab row also carries the page name and the colour swatches.
    auto* staticCaption = new QLabel(text::q("Statická paměť:"), pages_);
    staticCaption->setObjectName(QStringLiteral("Panel17"));
    auto* pageName = new QLabel(text::q(kPageSlots[0].tabCaption), pages_);
    pageNameLabel_ = pageName;
    pageName->setObjectName(QStringLiteral("Panel18"));
    QFont bold = pageName->font();
    bold.setBold(true);
    pageName->setFont(bold);
    tabRowOverlays_ << staticCaption << pageName;
    for (const SwatchRow& s : kSwatches) {
        auto* swatch = new QLabel(QStringLiteral("."), pages_);
        swatch->setObjectName(QLatin1String(s.panel));
        swatch->setFixedSize(7, 17);
        swatch->setAutoFillBackground(true);
        QPalette p = swatch->palette();
        p.setColor(QPalette::Window, QColor::fromRgb(s.face));
        p.setColor(QPalette::WindowText, QColor::fromRgb(s.face));
        swatch->setPalette(p);
        swatch->setCursor(Qt::PointingHandCursor);
        swatch->setMouseTracking(true);
        tabRowOverlays_ << swatch;
        controls_.swatches << swatch;
    }
    pages_->installEventFilter(this);
    return pages_;
}

// The places of the panels: the pages in a splitter with those at their
// right, that one in a splitter with those below. Without a shown panel the
// pages fill both.
QWidget* TForm1::buildPanelPlaces(QWidget* pages) {
    belowPages_ = new QSplitter(Qt::Vertical, this);
    belowPages_->setObjectName(QStringLiteral("PanelsBelowPages"));
    rightOfPages_ = new QSplitter(Qt::Horizontal, belowPages_);
    rightOfPages_->setObjectName(QStringLiteral("PanelsRightOfPages"));
    for (QSplitter* s : {belowPages_, rightOfPages_}) {
        s->setChildrenCollapsible(false);
        s->setHandleWidth(5);
    }
    rightOfPages_->addWidget(pages);
    belowPages_->addWidget(rightOfPages_);
    rightOfPages_->setStretchFactor(0, 1);
    belowPages_->setStretchFactor(0, 1);
    return belowPages_;
}

void TForm1::addPanel(QWidget* panel, PanelPlace place) {
    panel->hide();
    movePanel(panel, place);
}

void TForm1::movePanel(QWidget* panel, PanelPlace place) {
    QSplitter* into = place == PanelPlace::Right ? rightOfPages_ : belowPages_;
    if (panel->parentWidget() == into) {
        return;
    }
    const bool shown = !panel->isHidden();
    into->addWidget(panel); // takes it out of the other place
    into->setStretchFactor(into->indexOf(panel), 0);
    panel->setVisible(shown);
}

void TForm1::placeTabRowOverlays() {
    const int tabsRight = pages_->tabBar()->geometry().right();
    const int rowHeight = pages_->tabBar()->height();
    QWidget* staticCaption = tabRowOverlays_.at(0);
    QWidget* pageName = tabRowOverlays_.at(1);
    staticCaption->adjustSize();
    pageName->adjustSize();
    const int x = qMax(239, tabsRight + 12);
    staticCaption->move(x, (rowHeight - staticCaption->height()) / 2);
    pageName->move(x + staticCaption->width() + 6, (rowHeight - pageName->height()) / 2);
    // Twelve swatches, 16 apart, ending near the right edge.
    const int swatchCount = int(kSwatches.size());
    int sx = pages_->width() - 10 - 16 * (swatchCount - 1) - 7;
    for (int i = 0; i < swatchCount; ++i, sx += 16) {
        tabRowOverlays_.at(2 + i)->move(sx, qMax(0, (rowHeight - 17) / 2));
    }
    for (QWidget* w : tabRowOverlays_) {
        w->raise();
    }
}

QWidget* TForm1::buildBottomRow() {
    auto* bottom = new QWidget(this);
    bottom->setFixedHeight(114);
    auto* row = new QHBoxLayout(bottom);
    row->setContentsMargins(0, 0, 0, 2);
    row->setSpacing(4);

    const auto others = otherButtonRows();
    auto rowsOf = [&others](const char* box) {
        QList<const ToolButtonRow*> rows;
        for (const ToolButtonRow& r : others) {
            if (qstrcmp(r.group, box) == 0) {
                rows << &r;
            }
        }
        return rows;
    };

    // Notes: the notes editor and eight small buttons in two columns.
    auto* notesBox = new QGroupBox(text::q("Poznámky"), bottom);
    notesBox->setObjectName(QStringLiteral("GroupBox1"));
    notesBox->setMinimumWidth(417);
    auto* notesRow = new QHBoxLayout(notesBox);
    notesRow->setContentsMargins(6, 2, 6, 6);
    notes_ = new Editor(notesBox);
    notes_->setObjectName(QStringLiteral("RichEdit2"));
    notesRow->addWidget(notes_, 1);
    auto* notesButtons = new QGridLayout();
    notesButtons->setSpacing(1);
    int i = 0;
    for (const ToolButtonRow* r : rowsOf("GroupBox1")) {
        notesButtons->addWidget(speedButton(*r, notesBox), i / 2, i % 2);
        ++i;
    }
    notesRow->addLayout(notesButtons);
    row->addWidget(notesBox, 1);

    // Tag library: the sorted list and its four buttons.
    auto* tagBox = new QGroupBox(text::q("Další tagy"), bottom);
    tagBox->setObjectName(QStringLiteral("GroupBox3"));
    tagBox->setFixedWidth(265);
    auto* tagRow = new QHBoxLayout(tagBox);
    tagRow->setContentsMargins(6, 2, 6, 6);
    auto* list = new QListView(tagBox);
    list->setObjectName(QStringLiteral("ListBox1"));
    controls_.tagList = list;
    tagRow->addWidget(list, 1);
    auto* tagButtons = new QVBoxLayout();
    tagButtons->setSpacing(2);
    for (const ToolButtonRow* r : rowsOf("GroupBox3")) {
        QPushButton* b = pushButton(*r, tagBox);
        b->setFixedWidth(60);
        tagButtons->addWidget(b);
    }
    tagRow->addLayout(tagButtons);
    row->addWidget(tagBox);

    // Static memory: load and store buttons and the name of the shown page.
    auto* staticBox = new QGroupBox(bottom);
    staticBox->setObjectName(QStringLiteral("GroupBox2"));
    staticBox->setFixedWidth(89);
    auto* staticColumn = new QVBoxLayout(staticBox);
    staticColumn->setContentsMargins(4, 4, 4, 4);
    staticColumn->setSpacing(2);
    staticColumn->addWidget(new QLabel(text::q("Statická paměť:"), staticBox));
    for (const ToolButtonRow* r : rowsOf("GroupBox2")) {
        staticColumn->addWidget(pushButton(*r, staticBox));
    }
    auto* editorRow = new QHBoxLayout();
    editorRow->addWidget(boldLabel("Editor:", staticBox));
    editorNameLabel_ = new QLabel(staticBox);
    editorNameLabel_->setObjectName(QStringLiteral("Label9"));
    editorRow->addWidget(editorNameLabel_, 1);
    staticColumn->addLayout(editorRow);
    row->addWidget(staticBox);

    // Preview buttons above the colour mixer.
    auto* right = new QWidget(bottom);
    right->setFixedWidth(229);
    auto* rightColumn = new QVBoxLayout(right);
    rightColumn->setContentsMargins(0, 5, 0, 0);
    rightColumn->setSpacing(2);
    auto* previewRow = new QHBoxLayout();
    previewRow->setSpacing(5);
    for (const ToolButtonRow* r : rowsOf("TForm1")) {
        QPushButton* b = pushButton(*r, right);
        b->setFixedSize(112, 25);
        previewRow->addWidget(b);
    }
    rightColumn->addLayout(previewRow);
    auto* mixer = new QGroupBox(right);
    mixer->setObjectName(QStringLiteral("RadioGroup7"));
    auto* mixerGrid = new QGridLayout(mixer);
    mixerGrid->setContentsMargins(4, 2, 4, 4);
    mixerGrid->setHorizontalSpacing(4);
    mixerGrid->setVerticalSpacing(1);
    const char* sliders[] = {"ScrollBar1", "ScrollBar2", "ScrollBar3"};
    const char* values[] = {"Panel7", "Panel8", "Panel9"};
    for (int k = 0; k < 3; ++k) {
        auto* slider = new QScrollBar(Qt::Horizontal, mixer);
        slider->setObjectName(QLatin1String(sliders[k]));
        slider->setRange(0, 255);
        slider->setSingleStep(1);
        slider->setPageStep(10);
        slider->setValue(255);
        mixerGrid->addWidget(slider, k, 0);
        controls_.mixerSliders[k] = slider;
        auto* value = new QLabel(QStringLiteral("255"), mixer);
        value->setObjectName(QLatin1String(values[k]));
        value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        value->setAlignment(Qt::AlignCenter);
        value->setFixedWidth(32);
        controls_.mixerValues[k] = value;
        mixerGrid->addWidget(value, k, 1);
    }
    auto* sample = new QPlainTextEdit(mixer);
    sample->setObjectName(QStringLiteral("Memo1"));
    controls_.mixerSample = sample;
    sample->setFixedWidth(56);
    sample->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sample->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mixerGrid->addWidget(sample, 0, 2, 3, 1);
    mixerGrid->setColumnStretch(0, 1);
    rightColumn->addWidget(mixer, 1);
    row->addWidget(right);
    return bottom;
}

// The encoding panel starts with the program's own encoding and then follows
// the shown page.
constexpr const char* kEncodingPanel = "Kódování: Windows-1250";
constexpr const char* kCaretPanel = "Ř 1, S 1";

void TForm1::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    struct Panel {
        int width;
        const char* text;
    };
    const Panel panels[] = {
        {250, "      Používáte aplikaci:  Zelvar  (verze 2.0)"},
        {270, text::kNoFileName}, // the shown page's file
        {180, kEncodingPanel},
        {180, kCaretPanel}, // the caret's line and column in the shown page
        {50, "CZ"},
    };
    int n = 0;
    for (const Panel& p : panels) {
        auto* label = new QLabel(text::q(p.text), bar);
        label->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(n++));
        if (p.text == kEncodingPanel) {
            encodingPanel_ = label;
        } else if (p.text == kCaretPanel) {
            caretPanel_ = label;
            caretPanel_->setToolTip(text::q("Řádek a sloupec kurzoru"));
        } else if (p.text == text::kNoFileName) {
            filePanel_ = label;
            filePanel_->installEventFilter(this); // shortened again to its new width
        }
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // Of a fixed size, a panel whose text changes (the caret's place at
        // every key) asks the status bar for no new layout.
        label->setFixedSize(p.width, label->sizeHint().height());
        bar->addWidget(label);
        if (label == encodingPanel_) {
            // The line breaks beside the encoding.
            lineBreakPanel_ = new QLabel(QStringLiteral("CR LF"), bar);
            lineBreakPanel_->setObjectName(QStringLiteral("LineBreakPanel"));
            lineBreakPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            lineBreakPanel_->setFixedSize(44, lineBreakPanel_->sizeHint().height());
            bar->addWidget(lineBreakPanel_);
        }
    }
    // How far a big file has gone into its page, while it goes in.
    loadBar_ = new QProgressBar(bar);
    loadBar_->setObjectName(QStringLiteral("LoadProgress"));
    loadBar_->setFixedWidth(220);
    loadBar_->setFormat(text::q("Načítání %p % (Esc zruší)"));
    loadBar_->hide();
    bar->addWidget(loadBar_);
}

// The file's name in the panel (shortened in the middle to fit), its whole
// name in the tooltip, "Nový soubor" for a page of none, and a mark while the page
// has changes; the tab's tooltip gives the whole name too.
void TForm1::showFile(int slot) {
    const PageRecord& record = pageRecord(slot);
    const QString name =
        record.hasFile() ? QDir::toNativeSeparators(record.file) : text::q(text::kNoFileName);
    pages_->setTabToolTip(slot - 1, record.hasFile() ? name : QString());
    if (slot != shownSlot()) {
        return;
    }
    const QString mark = editor(slot)->isModifiedFlag() ? text::q(text::kChangedMark) : QString();
    const int room =
        qMax(0, filePanel_->width() - 8 - filePanel_->fontMetrics().horizontalAdvance(mark));
    const QString shown = filePanel_->fontMetrics().elidedText(name, Qt::ElideMiddle, room) + mark;
    if (filePanel_->text() != shown) {
        filePanel_->setText(shown);
    }
    filePanel_->setToolTip(name);
}

// The line and the column from 1, the column in the characters of the line
// as the HTML check counts them (a tab is one).
void TForm1::showCaretPlace(int slot) {
    const QTextCursor caret = editor(slot)->textCursor();
    caretPanel_->setText(QString::fromUtf8("Ř %1, S %2")
                             .arg(caret.blockNumber() + 1)
                             .arg(caret.positionInBlock() + 1));
}

void TForm1::showLineBreak(int slot) {
    lineBreakPanel_->setText(editor(slot)->lineBreak() == LineBreak::Lf ? QStringLiteral("LF")
                             : editor(slot)->lineBreak() == LineBreak::Cr
                                 ? QStringLiteral("CR")
                                 : QStringLiteral("CR LF"));
}

void TForm1::buildMenus() {
    auto buildTree = [](std::span<const MenuRow> rows, QMenuBar* bar, QMenu* root) {
        QMenu* top = root;
        QMenu* sub = nullptr;
        for (size_t k = 0; k < rows.size(); ++k) {
            const MenuRow& r = rows[k];
            if (r.level == 0) {
                if (!bar) {
                    continue; // the root row of a popup menu
                }
                top = bar->addMenu(text::q(r.caption));
                top->setObjectName(QLatin1String(r.name));
                top->menuAction()->setObjectName(QLatin1String(r.name));
                sub = nullptr;
                continue;
            }
            QMenu* into = r.level == 2 && sub ? sub : top;
            if (r.level == 1) {
                sub = nullptr;
            }
            if (r.flags & ItemSeparator) {
                into->addSeparator()->setObjectName(QLatin1String(r.name));
                continue;
            }
            const bool opensSubmenu = r.level == 1 && k + 1 < rows.size() && rows[k + 1].level == 2;
            QAction* a = nullptr;
            if (opensSubmenu) {
                sub = into->addMenu(text::q(r.caption));
                sub->setObjectName(QLatin1String(r.name));
                a = sub->menuAction();
            } else {
                a = into->addAction(text::q(r.caption));
            }
            a->setObjectName(QLatin1String(r.name));
            if (r.shortcut) {
                // The first key is the one the menu shows.
                a->setShortcuts(QKeySequence::listFromString(QLatin1String(r.shortcut),
                                                             QKeySequence::PortableText));
                // The router decides what a key runs; the shortcut map never does.
                a->setShortcutContext(Qt::WidgetShortcut);
            }
            if (r.flags & (ItemCheckable | ItemChecked)) {
                a->setCheckable(true);
                a->setChecked(r.flags & ItemChecked);
            }
            if (r.flags & ItemDisabled) {
                a->setEnabled(false);
            }
            if (r.flags & ItemDefault) {
                QFont f = a->font();
                f.setBold(true);
                a->setFont(f);
            }
            if (r.glyph) {
                a->setIcon(glyph(QLatin1String(r.glyph)));
            }
            if (r.hint) {
                a->setToolTip(text::q(r.hint));
                a->setStatusTip(text::q(r.hint));
            }
        }
        if (root) {
            root->setToolTipsVisible(true);
        } else if (bar) {
            for (QMenu* m : bar->findChildren<QMenu*>()) {
                m->setToolTipsVisible(true);
            }
        }
    };
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    buildTree(mainMenuRows(), menuBar(), nullptr);
    auto* popup1 = new QMenu(this);
    popup1->setObjectName(QStringLiteral("PopupMenu1"));
    buildTree(pagePopupRows(), nullptr, popup1);
    auto* popup2 = new QMenu(this);
    popup2->setObjectName(QStringLiteral("PopupMenu2"));
    buildTree(notesPopupRows(), nullptr, popup2);
}

void TForm1::buildToolbars(QWidget* bandWidget) {
    auto* band = static_cast<QMainWindow*>(bandWidget);
    int lastRow = 1;
    for (const ToolGroupRow& g : toolGroupRows()) {
        auto* bar = new QToolBar(text::q(g.checkCaption), band);
        bar->setObjectName(QLatin1String(g.name));
        bar->setMovable(true);
        bar->setFloatable(false);
        bar->setAllowedAreas(Qt::TopToolBarArea);
        bar->setIconSize(QSize(16, 16));
        bar->setContextMenuPolicy(Qt::PreventContextMenu);
        bar->setCursor(Qt::PointingHandCursor);
        bar->layout()->setSpacing(0);
        if (g.row != lastRow) {
            band->addToolBarBreak(Qt::TopToolBarArea);
            lastRow = g.row;
        }
        band->addToolBar(Qt::TopToolBarArea, bar);
        for (const ToolButtonRow& r : toolButtonRows()) {
            if (qstrcmp(r.group, g.name) != 0) {
                continue;
            }
            if (r.style & StyleGapBefore) {
                auto* gap = new QWidget(bar);
                gap->setFixedWidth(5);
                bar->addWidget(gap);
            }
            bar->addWidget(speedButton(r, bar));
        }
        if (qstrcmp(g.name, "PageScroller4") == 0) {
            // Statistics: the line counter and the word-wrap indicator.
            bar->addWidget(boldLabel(" Řádků: ", bar));
            lineCountLabel_ = new QLabel(QStringLiteral("0"), bar);
            lineCountLabel_->setObjectName(QStringLiteral("Label3"));
            lineCountLabel_->setMinimumWidth(36);
            bar->addWidget(lineCountLabel_);
            bar->addWidget(boldLabel(" Tisk: ", bar));
            wordWrapLabel_ = new QLabel(QStringLiteral("NO"), bar);
            wordWrapLabel_->setObjectName(QStringLiteral("Label7"));
            bar->addWidget(wordWrapLabel_);
        } else if (qstrcmp(g.name, "PageScroller7") == 0) {
            auto* label = new QLabel(QStringLiteral("HTML"), bar);
            label->setObjectName(QStringLiteral("Label1"));
            QFont f(QStringLiteral("Ventilate AOE"));
            f.setPixelSize(21);
            f.setBold(true);
            label->setFont(f);
            bar->addWidget(label);
        }
        if (auto* box = findChild<QCheckBox*>(QLatin1String(g.checkBox))) {
            connect(box, &QCheckBox::toggled, bar, &QWidget::setVisible);
        }
    }
}

// --- Services ----------------------------------------------------------------

int TForm1::shownSlot() const {
    const QWidget* shown = pages_->currentWidget();
    for (const PageSlot& slot : kPageSlots) {
        if (shown && shown->objectName() == QLatin1String(slot.tabSheet)) {
            return slot.number;
        }
    }
    return 1;
}

Editor* TForm1::editor(int slot) const {
    return editors_.at(slot - 1);
}

QAction* TForm1::action(const char* name) const {
    return findChild<QAction*>(QLatin1String(name));
}

QAbstractButton* TForm1::button(const char* name) const {
    return findChild<QAbstractButton*>(QLatin1String(name));
}

QMenu* TForm1::menu(const char* name) const {
    return findChild<QMenu*>(QLatin1String(name));
}

void TForm1::on(const char* name, std::function<void()> command) {
    auto run = [this, command = std::move(command)] { patterns_->guarded(command); };
    if (QAbstractButton* b = button(name)) {
        connect(b, &QAbstractButton::clicked, this, run);
    } else if (QAction* a = action(name)) {
        connect(a, &QAction::triggered, this, run);
    } else {
        qWarning("zelvar: no control named %s", name);
        unmatchedControls_ << QLatin1String(name);
    }
}

void TForm1::addExitBackup(std::function<void()> write) {
    exitBackups_.push_back(std::move(write));
}

void TForm1::writeExitBackups() {
    for (const auto& write : exitBackups_) {
        write();
    }
}

// --- Page slots --------------------------------------------------------------

void TForm1::tabSheetShow(int slot) {
    const PageSlot& s = pageSlot(slot);
    pageNameLabel_->setText(text::q(s.tabCaption));
    editorNameLabel_->setText(text::q(s.tabCaption));
    action("gh1")->setText(text::q(s.header));
    setPageChecks(slot);
    showWordWrap(slot);
    showEncoding(slot);
    showLineBreak(slot);
    showCaretPlace(slot);
    showFile(slot);
    placeTabRowOverlays();
}

// The item's mark and the indicator follow the shown page's editor.
void TForm1::showWordWrap(int slot) {
    const bool wraps = editor(slot)->wordWrap();
    action("Zalamovndk1")->setChecked(wraps);
    wordWrapLabel_->setText(wraps ? QStringLiteral("OK") : QStringLiteral("NO"));
}

void TForm1::showEncoding(int slot) {
    const Editor* page = editor(slot);
    QString shown = text::q("Kódování: ") + encodingName(page->writeEncoding());
    QString tip;
    if (page->contradictsDeclaration()) {
        shown += text::q(text::kDeclarationMismatchMark);
        tip = text::q(text::kDeclarationMismatchTip).arg(encodingName(*page->declaredEncoding()));
    }
    encodingPanel_->setText(shown);
    encodingPanel_->setToolTip(tip);
}

void TForm1::setPageChecks(int slot) {
    for (const PageSlot& s : kPageSlots) {
        QAction* item = action(s.formatItem);
        item->setCheckable(true);
        item->setChecked(s.number == slot);
    }
}

void TForm1::richEditChange(int slot) {
    lineCountLabel_->setText(QString::number(editor(slot)->lineCount()));
}

void TForm1::richEditEnter(int slot) {
    richEditChange(slot);
    button("SpeedButton40")->setEnabled(true);
    button("SpeedButton39")->setEnabled(true);
}

void TForm1::richEditExit(int) {
    button("SpeedButton40")->setEnabled(false);
    button("SpeedButton39")->setEnabled(false);
}

void TForm1::showPage(int slot) {
    const bool focusInPages =
        std::find(editors_.begin(), editors_.end(), QApplication::focusWidget()) != editors_.end();
    pages_->setCurrentIndex(slot - 1);
    if (focusInPages) {
        editor(slot)->setFocus(Qt::OtherFocusReason);
    }
}

void TForm1::pageItemClick(int slot) {
    showPage(slot);
    setPageChecks(slot);
}

bool TForm1::routePageKeys(QWidget* focus, QKeyCombination key, bool perform) {
    const bool next = key == QKeyCombination(Qt::ControlModifier, Qt::Key_Tab);
    const bool previous =
        key == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Backtab) ||
        key == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Tab);
    if (!next && !previous) {
        return false;
    }
    // On the tab row, or in a page editor that does not take the Tab key.
    // A page that takes the Tab key keeps these keys too: they neither switch
    // pages nor reach the tab control.
    const bool onTabRow = focus == pages_ || focus == pages_->tabBar();
    const auto it = std::find(editors_.begin(), editors_.end(), focus);
    const bool inPage = it != editors_.end();
    if (!onTabRow && !inPage) {
        return false;
    }
    if (inPage && !(*it)->tabChangesFocus()) {
        return true;
    }
    if (perform) {
        const int current = shownSlot();
        const int target =
            next ? current % kPageCount + 1 : (current + kPageCount - 2) % kPageCount + 1;
        showPage(target);
    }
    return true;
}

// --- Window events -----------------------------------------------------------

bool TForm1::event(QEvent* event) {
    // The status bar keeps its panels: a menu item's hint is shown as its
    // tooltip only and never replaces them.
    if (event->type() == QEvent::StatusTip) {
        return true;
    }
    return QMainWindow::event(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
    bool mayClose = true;
    patterns_->guarded([&] { mayClose = !closeQuery_ || closeQuery_(); });
    if (mayClose) {
        event->accept();
    } else {
        event->ignore();
    }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == filePanel_ && event->type() == QEvent::Resize) {
        showFile(shownSlot());
    }
    if (watched == pages_ && (event->type() == QEvent::Resize || event->type() == QEvent::Show ||
                              event->type() == QEvent::LayoutRequest)) {
        placeTabRowOverlays();
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace zelvar
