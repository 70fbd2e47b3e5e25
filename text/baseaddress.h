#pragma once
// The browser preview is a copy of the page in a folder of the program's
// own: a base address written into the copy lets its relative addresses
// (pictures, style sheets, scripts, links) resolve against the page's own
// folder. The page itself never gets it.

#include <QByteArray>

namespace zelvar {

// The page's bytes with `<base href="address">` after the meta that declares
// its charset (or its `<head>` start tag, or its `<html>` one, or else at its
// start, after a byte-order mark and a doctype); unchanged when the page has
// a base element of its own. The
// address is ASCII (percent-encoded), so it reads the same in every
// encoding that keeps ASCII as it is.
QByteArray withBaseAddress(const QByteArray& page, const QByteArray& address);

} // namespace zelvar
