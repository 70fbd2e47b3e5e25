#pragma once
// The notes pad's file: poznamky.txt, loaded and saved on request, and the
// backup zaloha_poznamky.txt that every way out of the program writes when
// the notes hold text that is in neither.

#include <QByteArray>
#include <QObject>
#include <QString>

namespace zelvar {

class Workspace;

class NotesPad : public QObject {
    Q_OBJECT
public:
    explicit NotesPad(Workspace& form);
    // The one instance that belongs to the main window.
    static NotesPad& of(const Workspace& form);

    void load(); // "Načíst...": asks first when the notes changed
    void save(); // "Uložit..."
    // "-> Načíst zálohu poznámek": the notes from zaloha_poznamky.txt; asks
    // first when the notes changed.
    void loadBackup();

    // Whether the notes, text and formats, differ from what was last loaded
    // from or saved to poznamky.txt, or from the empty start.
    bool differsFromFile() const;
    // On the way out: when the notes differ from their file, writes them to
    // zaloha_poznamky.txt in the file's rich-text form. A failure is reported
    // like the page backups' and the way out goes on.
    void writeBackup();

private:
    Workspace& form_;
    // The notes in their file's form as last loaded or saved.
    QByteArray fileForm() const;
    QByteArray fileForm_;
};

} // namespace zelvar
