#include "ground/pagerecord.h"

#include <QFileInfo>

namespace zelvar {

void PageRecord::setFile(const QString& path) {
    file = QFileInfo(path).absoluteFilePath();
    stampFile();
}

void PageRecord::stampFile() {
    const QFileInfo info(file);
    size = info.exists() ? info.size() : -1;
    modified = info.exists() ? info.lastModified() : QDateTime();
}

bool PageRecord::changedOnDisk() const {
    if (!hasFile()) {
        return false;
    }
    const QFileInfo info(file);
    return !info.exists() || info.size() != size || info.lastModified() != modified;
}

} // namespace zelvar
