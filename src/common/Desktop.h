#pragma once
// Everything that touches the desktop (starting processes) goes through Desktop, so tests can
// record it instead of starting real programs.
#include <QString>
#include <QStringList>

namespace kestrin {

class Desktop {
public:
    virtual ~Desktop() = default;
    // Starts program detached; false when it could not be started.
    virtual bool startDetached(const QString &program, const QStringList &arguments) = 0;

    static Desktop &instance();
    static void setInstance(Desktop *d); // not owned; nullptr restores the real desktop
};

} // namespace kestrin
