#pragma once
// The words of a page's text that the dictionary does not know, underlined
// with a red wavy line. The underline is a part of the page's HTML view
// (the lines on screen only, never in the document, its undo history, the
// file, the clipboard or a printout); nothing is underlined until the
// dictionary has loaded.

#include <QObject>
#include <QPointer>
#include <QString>
#include <optional>

namespace zelvar {

class Editor;
class Speller;

class SpellView : public QObject {
    Q_OBJECT
public:
    // The spelling layer of the editor's view, which owns it. Nothing is
    // underlined until it has its speller; the editor's HtmlHighlighter
    // builds the lines.
    explicit SpellView(Editor* editor);
    void setSpeller(Speller* speller);
    // The editor's spell view, or nullptr.
    static SpellView* of(const Editor* editor);

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool on);

    // An unknown word of the text: its document positions and the word as read.
    struct Word {
        int start;
        int end;
        QString word;
    };
    // The unknown word at the document position (either end included), if
    // the check is on and the line is no long line.
    std::optional<Word> unknownWordAt(int position) const;

    Speller* speller() const { return speller_; }

private:
    void apply();

    Editor* editor_;
    QPointer<Speller> speller_;
    bool enabled_ = true;
};

} // namespace zelvar
