#include "files/preview.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include "editor/editor.h"
#include "files/documents.h"
#include "ground/pagerecord.h"
#include "ground/patterns.h"
#include "ground/platform.h"
#include "ground/workspace.h"
#include "text/baseaddress.h"
#include "text/pagefile.h"

namespace zelvar {

QString previewFilePath() {
    QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty() || QDir::isRelativePath(cache)) {
        // A relative XDG_CACHE_HOME is not valid; use the default.
        cache = QDir::homePath() + QLatin1String("/.cache");
    }
    return cache + QLatin1String("/zelvar/nahled_stranky.html");
}

namespace {

// The shown page, as it is now, in the browser.
void basicPreview(Workspace& form) {
    Editor* editor = form.activeEditor();
    editor->setPlainTextMode(true);
    const QString path = previewFilePath();
    QDir().mkpath(QFileInfo(path).path());
    editor->saveToFile(path); // a failure reaches the exception display
    // Relative addresses resolve against the page's own folder, or the
    // working folder for a page of no file.
    const PageRecord& page = form.shownRecord();
    const QString folder =
        page.hasFile() ? QFileInfo(page.file).absolutePath() : QDir::currentPath();
    writeWholeFile(path,
                   withBaseAddress(readWholeFile(path),
                                   QUrl::fromLocalFile(folder + QLatin1Char('/')).toEncoded()));
    form.platform().shell->openFile(path);
    form.patterns().message("Internetový prohlížeč...");
}

// A file picked in the open dialog, or after a cancel the name picked last,
// in the browser. The picked name is handed over unchanged.
void filePreview(Workspace& form) {
    Documents& documents = Documents::of(form);
    QString name = documents.askOpenName(Documents::OpenStart::PageFile);
    if (name.isEmpty()) {
        name = documents.openName();
    }
    if (name.isEmpty()) {
        return; // nothing picked, ever: nothing to show
    }
    form.platform().shell->openFile(QFileInfo(name).absoluteFilePath());
}

} // namespace

void installPreviewCommands(Workspace& form) {
    for (const char* name : {"Zkladnvzhled1", "BitBtn1"}) {
        form.on(name, [&form] { basicPreview(form); });
    }
    for (const char* name : {"Prohldnoutvprohlei1", "BitBtn2"}) {
        form.on(name, [&form] { filePreview(form); });
    }
}

} // namespace zelvar
