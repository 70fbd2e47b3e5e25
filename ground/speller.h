#pragma once
// The Czech spelling dictionary with the user's own words.
//
// The dictionary takes a noticeable moment to load, so it loads on a thread
// of its own, once there is a word to check; until it has, every word
// passes. Once loaded it is used on
// the thread that made the speller only (a dictionary serves one thread),
// where a check is a look into a cache for the words already seen.
//
// The user's words are a text file (UTF-8, one word a line), read with the
// dictionary and appended to at once on every addition, never rewritten.

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

class Hunspell;

namespace zelvar {

class Speller : public QObject {
    Q_OBJECT
public:
    // Debian's Czech dictionary (package hunspell-cs).
    static QString czechAffixFile();
    static QString czechDictionaryFile();
    static bool czechInstalled();

    // The dictionary of the two files and the user's words, loaded when
    // first needed: a page without text needs no dictionary.
    Speller(const QString& affixFile, const QString& dictionaryFile, const QString& userWordsFile,
            QObject* parent = nullptr);
    // Starts loading them unless it has started (a word asked about starts
    // it too).
    void load();
    // Does not wait for a loading still under way: it ends on its own.
    ~Speller() override;

    bool isReady() const { return dictionary_ != nullptr; }
    // Whether the word is spelt right; true until the dictionary has loaded,
    // and for words too long for any dictionary.
    bool isKnown(const QString& word);
    // Up to max words the dictionary offers instead, best first; nothing
    // until it has loaded. Takes up to a quarter of a second.
    QStringList suggestions(const QString& word, int max = 5);
    // Makes the word known from now on and appends it to the user's file
    // unless it is there already; false when the file cannot be written.
    bool addWord(const QString& word);

    static constexpr int kLongestWord = 60;

    const QString& userWordsFile() const { return userWordsFile_; }

Q_SIGNALS:
    // The dictionary has loaded or a word was added: what was checked may
    // read otherwise now.
    void wordsChanged();

private:
    struct Loading;
    void adopt();

    QString affixFile_;
    QString dictionaryFile_;
    QString userWordsFile_;
    bool loadStarted_ = false;
    // Shared with the loading thread until it has handed its result over.
    std::shared_ptr<Loading> loading_;
    std::unique_ptr<Hunspell> dictionary_;
    QSet<QString> userWords_;
    QHash<QString, bool> known_;
};

// The dictionaries of the languages a page's text is written in: the Czech
// one given, and those of other languages from Debian's Hunspell packages
// (hunspell-en-us, hunspell-sk, hunspell-de-de, ...) where installed. Each
// is made once, when a word of its language is first asked about, and loads
// as the Czech one does, on a thread of its own; the user's words serve
// every language.
class Spellers : public QObject {
    Q_OBJECT
public:
    static QString dictionaryFolder(); // /usr/share/hunspell

    Spellers(Speller* czech, const QString& folder, QObject* parent = nullptr);
    Speller* czech() const { return czech_; }
    // The dictionary of a language as a lang attribute writes it ("en",
    // "en-GB", "de-AT"); nullptr when none is installed for it.
    Speller* forLanguage(const QString& language);

Q_SIGNALS:
    // One of the dictionaries has loaded or a word was added.
    void wordsChanged();

private:
    Speller* czech_;
    QString folder_;
    QHash<QString, Speller*> byLanguage_; // nullptr: none installed
    QHash<QString, Speller*> byName_;     // cs_CZ, en_US, ...
};

} // namespace zelvar
