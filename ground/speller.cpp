#include "ground/speller.h"

#include "text/pagefile.h"
#include "text/textlanguages.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <functional>
#include <hunspell.hxx>
#include <mutex>
#include <sys/resource.h>
#include <thread>
#include <vector>

namespace zelvar {

namespace {

constexpr qsizetype kCacheLimit = 200000;
constexpr qint64 kLongestUserFile = 16 * 1024 * 1024;
constexpr int kLoaderNice = 10;

std::string utf8(const QString& word) {
    return word.toStdString();
}

// How long the exit waits for a loading still under way.
constexpr auto kExitWait = std::chrono::seconds(5);

// The loading threads. A speller never waits for its own, so that closing
// the window is not held up; the application's end waits a moment for them,
// so that none is cut off mid-way at an ordinary exit, but never longer: a
// dictionary that does not load in that time is left to the process's end.
struct Loader {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
};
std::mutex loadersMutex;
std::vector<Loader>* loaders = nullptr; // kept to the very end

void joinLoaders() {
    const std::lock_guard<std::mutex> lock(loadersMutex);
    const auto deadline = std::chrono::steady_clock::now() + kExitWait;
    for (Loader& loader : *loaders) {
        while (!*loader.done && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (*loader.done) {
            loader.thread.join();
        } else {
            loader.thread.detach();
        }
    }
    loaders->clear();
}

void startLoader(std::function<void()> load) {
    const std::lock_guard<std::mutex> lock(loadersMutex);
    if (!loaders) {
        loaders = new std::vector<Loader>;
        qAddPostRoutine(joinLoaders);
    }
    auto done = std::make_shared<std::atomic<bool>>(false);
    loaders->push_back(Loader{std::thread([load = std::move(load), done] {
                                  load();
                                  *done = true;
                              }),
                              done});
}

// The user's word list, when it is a regular file of a sensible size: a
// FIFO or a device in its place would hold the reader up for good.
QByteArray readUserWords(const QString& path) {
    if (QFileInfo(path).size() > kLongestUserFile) {
        return {};
    }
    try {
        return readWholeFile(path).left(kLongestUserFile);
    } catch (const FileError&) {
        return {};
    }
}

} // namespace

// What the loading thread gives the speller. The speller's end tells the
// thread that nobody waits for it any more.
struct Speller::Loading {
    std::mutex mutex;
    Speller* receiver = nullptr; // nullptr once the speller has gone
    std::unique_ptr<Hunspell> dictionary;
    QSet<QString> userWords;
};

QString Speller::czechAffixFile() {
    return QStringLiteral("/usr/share/hunspell/cs_CZ.aff");
}

QString Speller::czechDictionaryFile() {
    return QStringLiteral("/usr/share/hunspell/cs_CZ.dic");
}

bool Speller::czechInstalled() {
    return QFileInfo(czechAffixFile()).isReadable() &&
           QFileInfo(czechDictionaryFile()).isReadable();
}

Speller::Speller(const QString& affixFile, const QString& dictionaryFile,
                 const QString& userWordsFile, QObject* parent)
    : QObject(parent), userWordsFile_(userWordsFile), loading_(std::make_shared<Loading>()) {
    loading_->receiver = this;
    affixFile_ = affixFile;
    dictionaryFile_ = dictionaryFile;
}

void Speller::load() {
    if (loadStarted_) {
        return;
    }
    loadStarted_ = true;
    // The loading starts once the event loop runs and yields to the user
    // interface.
    QTimer::singleShot(0, this,
                       [loading = loading_, affixFile = affixFile_,
                        dictionaryFile = dictionaryFile_, userWordsFile = userWordsFile_] {
                           startLoader([loading, affixFile, dictionaryFile, userWordsFile] {
                               setpriority(PRIO_PROCESS, 0, kLoaderNice); // this thread only
                               auto dictionary = std::make_unique<Hunspell>(
                                   QFile::encodeName(affixFile).constData(),
                                   QFile::encodeName(dictionaryFile).constData());
                               QSet<QString> userWords;
                               const QString all = QString::fromUtf8(readUserWords(userWordsFile));
                               for (QStringView line : QStringView(all).split(u'\n')) {
                                   const QString word = line.trimmed().toString();
                                   if (!word.isEmpty() && word.size() <= kLongestWord) {
                                       userWords.insert(word);
                                       dictionary->add(utf8(word));
                                   }
                               }
                               const std::lock_guard<std::mutex> lock(loading->mutex);
                               if (loading->receiver) {
                                   loading->dictionary = std::move(dictionary);
                                   loading->userWords = std::move(userWords);
                                   // Runs on the speller's thread, unless the speller has gone by
                                   // then.
                                   QMetaObject::invokeMethod(loading->receiver, &Speller::adopt,
                                                             Qt::QueuedConnection);
                               }
                           });
                       });
}

Speller::~Speller() {
    const std::lock_guard<std::mutex> lock(loading_->mutex);
    loading_->receiver = nullptr;
}

void Speller::adopt() {
    const std::lock_guard<std::mutex> lock(loading_->mutex);
    dictionary_ = std::move(loading_->dictionary);
    userWords_ = std::move(loading_->userWords);
    known_.clear();
    Q_EMIT wordsChanged();
}

bool Speller::isKnown(const QString& word) {
    if (!dictionary_) {
        load();
    }
    if (!dictionary_ || word.size() > kLongestWord) {
        return true;
    }
    const auto found = known_.constFind(word);
    if (found != known_.cend()) {
        return *found;
    }
    if (known_.size() >= kCacheLimit) {
        known_.clear();
    }
    const bool known = dictionary_->spell(utf8(word));
    known_.insert(word, known);
    return known;
}

QStringList Speller::suggestions(const QString& word, int max) {
    QStringList out;
    if (!dictionary_) {
        load();
    }
    if (!dictionary_ || word.size() > kLongestWord) {
        return out;
    }
    for (const std::string& s : dictionary_->suggest(utf8(word))) {
        if (out.size() >= max) {
            break;
        }
        out.append(QString::fromStdString(s));
    }
    return out;
}

bool Speller::addWord(const QString& word) {
    if (!dictionary_ || word.isEmpty() || word.size() > kLongestWord) {
        return false;
    }
    dictionary_->add(utf8(word));
    known_.insert(word, true);
    bool written = true;
    // Only a regular file (or none yet) is written: opening a FIFO would wait
    // for a reader.
    const QFileInfo list(userWordsFile_);
    if (list.exists() && !list.isFile()) {
        written = false;
    } else if (!userWords_.contains(word)) {
        // A file that does not end its last line gets the break first.
        QByteArray line = word.toUtf8() + '\n';
        QFile probe(userWordsFile_);
        if (probe.open(QIODevice::ReadOnly) && probe.size() > 0 && probe.seek(probe.size() - 1) &&
            probe.read(1) != "\n") {
            line.prepend('\n');
        }
        QFile file(userWordsFile_);
        written = file.open(QIODevice::WriteOnly | QIODevice::Append) &&
                  file.write(line) == line.size() && file.flush();
        if (written) {
            userWords_.insert(word);
        }
    }
    Q_EMIT wordsChanged();
    return written;
}

// --- The dictionaries of the languages ---------------------------------------------

QString Spellers::dictionaryFolder() {
    return QStringLiteral("/usr/share/hunspell");
}

Spellers::Spellers(Speller* czech, const QString& folder, QObject* parent)
    : QObject(parent), czech_(czech), folder_(folder) {
    byName_.insert(QStringLiteral("cs_CZ"), czech);
    connect(czech, &Speller::wordsChanged, this, &Spellers::wordsChanged);
}

Speller* Spellers::forLanguage(const QString& language) {
    const auto known = byLanguage_.constFind(language);
    if (known != byLanguage_.cend()) {
        return *known;
    }
    Speller* found = nullptr;
    for (const QString& name : dictionaryNames(language)) {
        if (Speller* made = byName_.value(name)) {
            found = made;
            break;
        }
        const QString affix = folder_ + u'/' + name + QLatin1String(".aff");
        const QString words = folder_ + u'/' + name + QLatin1String(".dic");
        if (QFileInfo(affix).isFile() && QFileInfo(words).isFile()) {
            found = new Speller(affix, words, czech_->userWordsFile(), this);
            connect(found, &Speller::wordsChanged, this, &Spellers::wordsChanged);
            byName_.insert(name, found);
            break;
        }
    }
    byLanguage_.insert(language, found);
    return found;
}

} // namespace zelvar
