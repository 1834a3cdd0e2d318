#pragma once
// The program's name as the user sees it: the title of its message boxes and Qt's application
// name. No Qt.

namespace kestrin {

inline constexpr const char *AppTitle = "kestrin4";

} // namespace kestrin
