#include "Desktop.h"

#include <QProcess>

namespace kestrin {

namespace {

class ProcessDesktop final : public Desktop {
public:
    bool startDetached(const QString &program, const QStringList &arguments) override
    {
        return QProcess::startDetached(program, arguments);
    }
};

} // namespace

template <> Desktop &Swappable<Desktop>::real()
{
    static ProcessDesktop real;
    return real;
}

} // namespace kestrin
