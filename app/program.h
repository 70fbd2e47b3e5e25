#pragma once
// The running program: the outside world it talks to and its main window,
// whose commands build the secondary windows they show.

#include <memory>

#include "ground/platform.h"

class QApplication;

namespace zelvar {

class TForm1;

// The application-wide settings made before the first window is built: the
// title, Qt's own translations for the system language, and stand-ins for
// the fonts the window descriptions name.
void prepareApplication(QApplication& app);

class Program {
public:
    explicit Program(Platform platform);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    Platform& platform() { return platform_; }
    TForm1& mainWindow() { return *form1_; }

private:
    Platform platform_;
    std::unique_ptr<TForm1> form1_;
};

} // namespace zelvar
