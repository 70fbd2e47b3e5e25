#include "text/baseaddress.h"

namespace zelvar {

namespace {

bool isNameEnd(char c) {
    return c == '>' || c == '/' || c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// Where the start tag `<name` begins (the name followed by the end of a
// name), from `from` on, or -1.
qsizetype findStartTag(const QByteArray& lower, const char* name, qsizetype from = 0) {
    const QByteArray open = QByteArray("<") + name;
    for (qsizetype at = lower.indexOf(open, from); at >= 0; at = lower.indexOf(open, at + 1)) {
        const qsizetype after = at + open.size();
        if (after < lower.size() && isNameEnd(lower[after])) {
            return at;
        }
    }
    return -1;
}

// Just after the start tag that begins at `at`, or -1 for a tag that never
// ends.
qsizetype afterTag(const QByteArray& page, qsizetype at) {
    const qsizetype end = page.indexOf('>', at);
    return end < 0 ? -1 : end + 1;
}

} // namespace

QByteArray withBaseAddress(const QByteArray& page, const QByteArray& address) {
    const QByteArray lower = page.toLower();
    // Comments may hold anything; a base tag in one does not count, but
    // looking past them is not worth it for a preview: a base that only
    // seems to be there leaves the preview as it was before.
    if (findStartTag(lower, "base") >= 0) {
        return page;
    }
    qsizetype at = -1;
    // After a meta that declares the charset, so that the declaration stays
    // where a browser's first look finds it.
    for (qsizetype meta = findStartTag(lower, "meta"); meta >= 0 && at < 0;
         meta = findStartTag(lower, "meta", meta + 1)) {
        const qsizetype end = afterTag(page, meta);
        if (end > 0 && lower.mid(meta, end - meta).contains("charset")) {
            at = end;
        }
        if (end < 0) {
            break;
        }
    }
    for (const char* parent : {"head", "html"}) {
        if (at >= 0) {
            break;
        }
        const qsizetype tag = findStartTag(lower, parent);
        if (tag >= 0) {
            at = afterTag(page, tag);
        }
    }
    if (at < 0) {
        at = page.startsWith("\xEF\xBB\xBF") ? 3 : 0;
        if (lower.mid(at).startsWith("<!doctype")) {
            const qsizetype end = afterTag(page, at);
            at = end < 0 ? at : end;
        }
    }
    QByteArray tag = "<base href=\"";
    for (const char c : address) {
        if (c == '"') {
            tag += "%22";
        } else if (c == '&') {
            tag += "&amp;";
        } else {
            tag += c;
        }
    }
    tag += "\">";
    QByteArray out = page;
    out.insert(at, tag);
    return out;
}

} // namespace zelvar
