#pragma once
// PHP's own syntax check of a saved file: "php -l" in a process of its own, never blocking the
// window, and what it reports turned into a line and a message. Qt Core only.
#include <QByteArrayView>
#include <QObject>
#include <QString>

#include <optional>

class QProcess;

namespace kestrin {

struct PhpProblem {
    int line = 0;    // 1-based, as php counts
    QString message; // as php prints it, without the file's path: "PHP Parse error: ... on line 3"
};

// The problem php -l reports in output for path; none when it reports none.
std::optional<PhpProblem> parseLintOutput(const QByteArray &output, const QString &path);
// Whether a saved file is PHP: a .php file, or a .tpl, .html or .htm file with "<?php" in text.
bool isPhpDocument(const QString &path, QByteArrayView text);
// The php program on the PATH; empty when there is none.
QString phpProgram();

class PhpCheck : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Sound, Broken, NotChecked }; // not checked: no php, timed out, crashed
    static constexpr int TimeLimitMs = 10'000;

    explicit PhpCheck(QObject *parent = nullptr);
    ~PhpCheck() override;
    // Checks path in the background; a check still running for an earlier save is dropped.
    void check(const QString &path);

Q_SIGNALS:
    void checked(const QString &path, kestrin::PhpCheck::Outcome outcome, const kestrin::PhpProblem &problem);

private:
    void stop();
    QProcess *m_process = nullptr;
};

} // namespace kestrin
