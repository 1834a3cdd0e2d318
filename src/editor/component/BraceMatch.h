#pragma once
// Finding the partner of a brace in styled text, as the editor highlights it. Pure; no widget.

namespace kestrin {

// The partner of c ("()[]{}<>"), 0 for any other character.
char braceOpposite(char c);

// The position of the partner of the brace at position brace, searched in cells: character and
// style pairs for the positions from .. to-1 (brace among them). Nesting is counted, and only
// characters of the brace's own style count, except past endStyled where no style is known yet.
// -1 when the partner is not within from .. to-1.
long matchBrace(const char *cells, long from, long to, long brace, long endStyled);

} // namespace kestrin
