#pragma once
// The words of a page's text that the dictionary does not know, underlined
// with a red wavy line. The underline is a part of the page's HTML view
// (the lines on screen only, never in the document, its undo history, the
// file, the clipboard or a printout); nothing is underlined until the
// dictionary has loaded.
//
// Each word is checked in the language it stands in (the lang attributes of
// the elements around it; Czech where none says otherwise), with that
// language's dictionary, or not at all where none is installed. Style
// sheets and scripts have no text to check.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <optional>
#include <vector>

#include "text/spelltext.h"
#include "text/textlanguages.h"

class QTextBlock;

namespace zelvar {

class Editor;
class HtmlHighlighter;
class Speller;
class Spellers;

class SpellView : public QObject {
    Q_OBJECT
public:
    // The spelling layer of the editor's view, which owns it. Nothing is
    // underlined until it has its dictionaries; the editor's HtmlHighlighter
    // builds the lines.
    explicit SpellView(Editor* editor);
    // The dictionaries, shared by the pages.
    void setSpellers(Spellers* spellers);
    // One Czech dictionary with no others, for this page alone.
    void setSpeller(Speller* speller);
    // The editor's spell view, or nullptr.
    static SpellView* of(const Editor* editor);

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool on);

    // An unknown word of the text: its document positions, the word as read
    // and the dictionary of its language.
    struct Word {
        int start;
        int end;
        QString word;
        Speller* speller;
    };
    // The unknown word at the document position (either end included), if
    // the check is on and the line is no long line.
    std::optional<Word> unknownWordAt(int position);

    // The language of the text where the line starts; nothing while the
    // reading of the page has yet to come near it.
    std::optional<TextLanguages> languagesAt(const QTextBlock& block);

    Speller* speller() const;

private:
    struct CheckedWord {
        SpellWord word;
        Speller* speller;
    };
    void apply();
    void forgetFrom(int line);
    void readLanguagesTo(int line, int ms);
    void noteLineStart(const TextLanguages& languages);
    void checkedWords(QStringView line, int state, const QList<HtmlSpan>& spans,
                      TextLanguages& languages, QList<CheckedWord>& out);

    // Up to this many lines are read at once; more are read in slices of
    // this many milliseconds while the program waits.
    static constexpr int kReadAtOnce = 20000;
    static constexpr int kReadAheadSliceMs = 3;

    Editor* editor_;
    QPointer<HtmlHighlighter> view_; // builds the lines, made before the spell view
    QPointer<Spellers> spellers_;
    bool enabled_ = true;
    // The languages at each line's start as far as read, as indexes into
    // the distinct ones, which follow each other down the page.
    std::vector<int> lineStarts_;
    int wanted_ = -1; // the line a screen far below waits for
    QTimer readAhead_;
    std::vector<TextLanguages> distinct_;
    QList<HtmlSpan> spans_;
    QList<SpellWord> words_;
    QList<LanguageChange> changes_;
};

} // namespace zelvar
