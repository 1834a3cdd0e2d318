#pragma once
// Associates the six document types with this executable in the desktop's file-type registry,
// at every start that shows the editor window. Never throws; failures are ignored.

namespace kestrin {

void RegisterDocumentTypes();

} // namespace kestrin
