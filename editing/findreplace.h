#pragma once
// Úpravy > Hledat a nahradit: the part of it that other code measures.

class QTextDocument;

namespace zelvar {

struct SearchResult;

// Replaces every match found with its replacement, back to front, as one
// undo step.
void replaceMatches(QTextDocument& document, const SearchResult& found);

} // namespace zelvar
