#include "ground/settings.h"

#include <QDir>
#include <QFileInfo>

namespace zelvar {

Settings::Settings(const QString& file) {
    if (file.isEmpty()) {
        return;
    }
    file_ = std::make_unique<QSettings>(file, QSettings::IniFormat);
    if (file_->status() != QSettings::NoError) {
        // A damaged file is left as it is and the defaults hold; what the
        // user changes from now on lasts for this run only.
        file_.reset();
        return;
    }
    for (const QString& key : file_->allKeys()) {
        values_.insert(key, file_->value(key));
    }
}

Settings::~Settings() = default;

QString Settings::userFile() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base)) {
        base = QDir::home().filePath(QStringLiteral(".config"));
    }
    return QDir(base).filePath(QStringLiteral("zelvar/zelvar.conf"));
}

QVariant Settings::value(const char* key) const {
    return values_.value(QLatin1String(key));
}

void Settings::setValue(const char* key, const QVariant& value) {
    const QString name = QLatin1String(key);
    if (values_.value(name) == value) {
        return;
    }
    values_.insert(name, value);
    if (file_) {
        QDir().mkpath(QFileInfo(file_->fileName()).absolutePath());
        file_->setValue(name, value);
        file_->sync();
    }
}

bool Settings::flag(const char* key, bool byDefault) const {
    const QVariant v = value(key);
    // Only a clear yes or no counts; anything else is the default.
    if (v.typeId() == QMetaType::Bool) {
        return v.toBool();
    }
    const QString text = v.toString();
    if (text == QLatin1String("true")) {
        return true;
    }
    if (text == QLatin1String("false")) {
        return false;
    }
    return byDefault;
}

void Settings::setFlag(const char* key, bool on) {
    if (value(key).isValid() && flag(key, !on) == on) {
        return; // as the file has it already, spelled its own way
    }
    setValue(key, on);
}

int Settings::number(const char* key, int byDefault) const {
    bool ok = false;
    const int n = value(key).toString().toInt(&ok);
    return ok ? n : byDefault;
}

void Settings::setNumber(const char* key, int value) {
    if (number(key, value + 1) == value) {
        return; // as the file has it already
    }
    setValue(key, value);
}

QStringList Settings::list(const char* key) const {
    const QVariant v = value(key);
    if (v.typeId() == QMetaType::QStringList) {
        return v.toStringList();
    }
    if (v.typeId() == QMetaType::QString) {
        return v.toString().isEmpty() ? QStringList() : QStringList{v.toString()};
    }
    return {};
}

void Settings::setList(const char* key, const QStringList& values) {
    setValue(key, values);
}

} // namespace zelvar
