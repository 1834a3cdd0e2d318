#include "PhpCheck.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>

namespace kestrin {

std::optional<PhpProblem> parseLintOutput(const QByteArray &output, const QString &path)
{
    static const QRegularExpression report(QStringLiteral("^(?:PHP )?((?:Parse|Fatal) error): +(.*) on line (\\d+)\\s*$"),
                                           QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = report.match(QString::fromUtf8(output));
    if (!m.hasMatch())
        return std::nullopt;
    QString text = m.captured(2);
    // "... in /the/file.php on line 3": the path, which may hold " in " itself, goes.
    const QString in = QStringLiteral(" in ") + path;
    if (text.endsWith(in))
        text.chop(in.size());
    else if (const qsizetype at = text.lastIndexOf(QLatin1String(" in ")); at >= 0)
        text.truncate(at);
    return PhpProblem{m.captured(3).toInt(), QStringLiteral("PHP %1: %2 on line %3").arg(m.captured(1), text, m.captured(3))};
}

bool isPhpDocument(const QString &path, QByteArrayView text)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("php"))
        return true;
    if (suffix != QLatin1String("tpl") && suffix != QLatin1String("html") && suffix != QLatin1String("htm"))
        return false;
    // PHP's open tag is "<?php" in any case.
    for (qsizetype at = text.indexOf("<?"); at >= 0 && at + 5 <= text.size(); at = text.indexOf("<?", at + 2))
        if (text.sliced(at + 2, 3).compare("php", Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString phpProgram() { return QStandardPaths::findExecutable(QStringLiteral("php")); }

PhpCheck::PhpCheck(QObject *parent) : QObject(parent) {}

PhpCheck::~PhpCheck() { stop(); }

void PhpCheck::stop()
{
    if (!m_process)
        return;
    m_process->disconnect(this);
    m_process->kill();
    m_process->waitForFinished(1000);
    delete m_process;
    m_process = nullptr;
}

void PhpCheck::check(const QString &path)
{
    stop();
    const QString php = phpProgram();
    const QString file = QFileInfo(path).absoluteFilePath(); // never read as an option
    if (php.isEmpty()) {
        Q_EMIT checked(path, Outcome::NotChecked, {});
        return;
    }
    auto *process = m_process = new QProcess(this);
    process->setProcessChannelMode(QProcess::MergedChannels);
    auto *limit = new QTimer(process);
    limit->setSingleShot(true);
    connect(limit, &QTimer::timeout, process, &QProcess::kill);
    connect(process, &QProcess::finished, this, [this, process, path, file](int code, QProcess::ExitStatus status) {
        const QByteArray output = process->readAll();
        m_process = nullptr;
        process->deleteLater();
        if (status != QProcess::NormalExit)
            return Q_EMIT checked(path, Outcome::NotChecked, {});
        if (const std::optional<PhpProblem> problem = parseLintOutput(output, file))
            return Q_EMIT checked(path, Outcome::Broken, *problem);
        Q_EMIT checked(path, code == 0 ? Outcome::Sound : Outcome::NotChecked, {});
    });
    connect(process, &QProcess::errorOccurred, this, [this, process, path](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return; // a crash or a kill ends in finished
        m_process = nullptr;
        process->deleteLater();
        Q_EMIT checked(path, Outcome::NotChecked, {});
    });
    // No ini file at all (the system's may hide the message), and the message printed whatever
    // the defaults are.
    process->start(php, {QStringLiteral("-n"), QStringLiteral("-d"), QStringLiteral("display_errors=1"),
                         QStringLiteral("-d"), QStringLiteral("log_errors=0"), QStringLiteral("-l"), file});
    limit->start(TimeLimitMs);
}

} // namespace kestrin
