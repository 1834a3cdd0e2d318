#pragma once
// Everything that touches the desktop (starting processes) goes through Desktop, so tests can
// record it instead of starting real programs.
#include "Swappable.h"

#include <QString>
#include <QStringList>

namespace kestrin {

class Desktop : public Swappable<Desktop> {
public:
    virtual ~Desktop() = default;
    // Starts program detached; false when it could not be started.
    virtual bool startDetached(const QString &program, const QStringList &arguments) = 0;
};
template <> Desktop &Swappable<Desktop>::real();

} // namespace kestrin
