#pragma once
// The eight secondary windows. They are created once at start-up, hidden,
// and only ever shown modally; the same object is shown every time.

#include <QDialog>

namespace zelvar {

struct WindowDescription {
    const char* name;    // TForm2 .. TForm9
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

class TForm2 : public SecondaryWindow { // About window
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
};

class TForm3 : public SecondaryWindow { // moving-text snippet window
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
};

class TForm4 : public SecondaryWindow { // text-colour-change snippet window
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
};

class TForm5 : public SecondaryWindow { // clipboard viewer
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);
};

class TForm6 : public SecondaryWindow { // date-and-time script snippet window
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);
};

class TForm7 : public SecondaryWindow { // home-page snippet window
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);
};

class TForm8 : public SecondaryWindow { // add-to-favourites snippet window
    Q_OBJECT
public:
    explicit TForm8(QWidget* parent = nullptr);
};

class TForm9 : public SecondaryWindow { // add-tag window
    Q_OBJECT
public:
    explicit TForm9(QWidget* parent = nullptr);
};

} // namespace zelvar
