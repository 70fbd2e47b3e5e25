#pragma once
// A secondary window of the program: a fixed-size modal window with the
// system menu, created hidden once and shown again each time. Each window
// is built and filled by the subsystem it belongs to.

#include <QDialog>

namespace zelvar {

struct WindowDescription {
    const char* name;    // the object name, TForm2 .. TForm9
    const char* caption; // UTF-8
    int clientWidth;
    int clientHeight;
    bool minimizeButton;
};

class SecondaryWindow : public QDialog {
    Q_OBJECT
public:
    SecondaryWindow(const WindowDescription& description, QWidget* parent);
};

} // namespace zelvar
