// The colour mixer: three sliders, their number panels and the sample that
// shows the mixed colour with its three component values.

#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <array>

#include "ground/commands.h"
#include "ground/workspace.h"

namespace zelvar {

namespace {

struct MixerControls {
    std::array<QScrollBar*, 3> sliders;
    std::array<QLabel*, 3> panels;
    QPlainTextEdit* sample;
};

// Paints the sample in the mixed colour and rewrites its three lines (text
// the user typed there is discarded).
void refreshSample(const MixerControls& c) {
    const int r = c.sliders[0]->value();
    const int g = c.sliders[1]->value();
    const int b = c.sliders[2]->value();
    QPalette p = c.sample->palette();
    p.setColor(QPalette::Base, QColor(r, g, b));
    c.sample->setPalette(p);
    c.sample->clear();
    c.sample->appendPlainText(QStringLiteral("R=%1").arg(r));
    c.sample->appendPlainText(QStringLiteral("G=%1").arg(g));
    c.sample->appendPlainText(QStringLiteral("B=%1").arg(b));
}

} // namespace

void installColourMixer(Workspace& form) {
    const RegionControls& region = form.controls();
    MixerControls c{};
    for (int i = 0; i < 3; ++i) {
        c.sliders[i] = region.mixerSliders[i];
        c.panels[i] = region.mixerValues[i];
    }
    c.sample = region.mixerSample;
    for (int i = 0; i < 3; ++i) {
        // Reached with Tab and moved with the keys like any slider: Left and
        // Page Down lower the value, Right and Page Up raise it (a scroll
        // bar's keys run the other way).
        c.sliders[i]->setFocusPolicy(Qt::StrongFocus);
        c.sliders[i]->setInvertedControls(false);
        QObject::connect(c.sliders[i], &QScrollBar::valueChanged, c.sample, [c, i](int value) {
            c.panels[i]->setText(QString::number(value));
            refreshSample(c);
        });
    }
    // The sample shows the start values from the beginning.
    refreshSample(c);
}

} // namespace zelvar
