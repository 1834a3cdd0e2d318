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

Desktop *installed = nullptr;

} // namespace

Desktop &Desktop::instance()
{
    static ProcessDesktop real;
    return installed ? *installed : real;
}

void Desktop::setInstance(Desktop *d) { installed = d; }

} // namespace kestrin
