#pragma once
// The notes pad's find: a small modeless dialog with a find box and a "find
// next" button. Each press of the button searches the notes once, forward
// from the end of their selection (or from the beginning when nothing is
// selected), case-sensitively and also inside words; a hit is selected, a
// miss is reported.

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace zelvar {

class Editor;
class Workspace;

class FindDialog final : public QDialog {
    Q_OBJECT
public:
    // The longest find text the box holds; a longer preset is cut.
    static constexpr int kMaxFindText = 255;

    explicit FindDialog(QWidget* parent = nullptr);

    QString findText() const;
    void setFindText(const QString& text);

    // Shows the dialog with the preset, or, when it is already open, only
    // brings it to the front and leaves its box as it is.
    void openWithPreset(const QString& preset);

Q_SIGNALS:
    void findNext(); // the user pressed the find button

private:
    QLineEdit* box_;
    QPushButton* findButton_;
};

// The position of the next occurrence of `what` in the editor's text, counted
// as SelStart counts (a line break is CR LF), searching from `from` to the
// end; -1 when there is none or `what` is empty.
int findForward(const Editor& editor, const QString& what, int from);

} // namespace zelvar
