#include "support/modal.h"

#include <QApplication>
#include <QTimer>

namespace zelvar::testing {

ModalRun whileModal(const std::function<void()>& open, const std::function<void(QWidget*)>& steps) {
    ModalRun run;
    bool fired = false;
    QTimer::singleShot(0, [&] {
        fired = true;
        run.window = QApplication::activeModalWidget();
        if (!run.window) {
            return;
        }
        if (steps) {
            steps(run.window);
        }
        if (run.window && run.window->isVisible()) {
            run.window->close();
        } else {
            run.closedByStep = true;
        }
    });
    open();
    // When nothing was shown modally the timer is still pending; let it run
    // here rather than in a later step of the test.
    while (!fired) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return run;
}

} // namespace zelvar::testing
