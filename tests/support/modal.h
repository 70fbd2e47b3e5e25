#pragma once
// Drives a window that a command shows modally: a zero-delay timer finds the
// modal window once it is up, runs the test's steps on it and then closes it
// with its close box, unless the steps have closed it already.

#include <QPointer>
#include <QWidget>
#include <functional>

namespace zelvar::testing {

struct ModalRun {
    QPointer<QWidget> window;  // the modal window that was up (null when none)
    bool closedByStep = false; // the steps closed it themselves
};

ModalRun whileModal(const std::function<void()>& open,
                    const std::function<void(QWidget*)>& steps = {});

} // namespace zelvar::testing
