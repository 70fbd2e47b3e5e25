#pragma once
// What the program adds beyond its fixed start state and keeps from one run
// to the next: toggles and lists, in the user's configuration folder. The
// file is written only when a value changes; an unreadable or damaged file
// gives the defaults and never stops the start. Without a file (the tests'
// platform) the values last while the program runs.

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace zelvar {

class Settings {
public:
    // Keeps the values in the file; an empty path keeps them in memory.
    explicit Settings(const QString& file = QString());
    ~Settings();

    bool flag(const char* key, bool byDefault) const;
    void setFlag(const char* key, bool on);
    // A whole number; anything else is the default.
    int number(const char* key, int byDefault) const;
    void setNumber(const char* key, int value);
    QStringList list(const char* key) const;
    void setList(const char* key, const QStringList& values);

    // $XDG_CONFIG_HOME/zelvar/zelvar.conf, with ~/.config for an unset or
    // relative XDG_CONFIG_HOME.
    static QString userFile();

private:
    QVariant value(const char* key) const;
    void setValue(const char* key, const QVariant& value);

    std::unique_ptr<QSettings> file_; // null: in memory, or the file is damaged
    QVariantHash values_;
};

} // namespace zelvar
