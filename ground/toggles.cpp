#include "ground/toggles.h"

#include <QAction>

#include "ground/patterns.h"
#include "ground/settings.h"
#include "ground/workspace.h"

namespace zelvar {

void lastingToggle(Workspace& form, const char* item, const char* setting, bool start,
                   const char* message, std::function<void(bool)> changed) {
    QAction* action = form.action(item);
    action->setChecked(form.settings().flag(setting, start));
    form.on(item, [&form, action, setting, message, changed = std::move(changed)] {
        form.settings().setFlag(setting, action->isChecked());
        form.patterns().message(message);
        if (changed) {
            changed(action->isChecked());
        }
    });
}

} // namespace zelvar
