#pragma once
// The program's own toolbar and menu pictures, drawn with QPainter so that
// they need no image files and scale to any device pixel ratio.

#include <QIcon>
#include <QString>

namespace zelvar {

// The picture with this name, or a null icon for an unknown name.
QIcon glyph(const QString& name);

} // namespace zelvar
