// The multi-file replace run over a list of files, started by the replace window as GO does: on the
// run's thread each file is loaded, replaced and saved into the batch, the batch committed at the end.
// Used by replace_bench.sh, which times sed over an identical copy of the same files.
//
//   replace_run LIST_FILE FIND REPLACEMENT     (LIST_FILE: one path a line)
// Prints "files N seconds S" for the run alone.
#include "StderrPrompter.h"
#include "replace/frmReplace.h"

#include "app/ProcessPolicy.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>

#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    kestrin::applyHeapPolicy();
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: replace_run LIST_FILE FIND REPLACEMENT\n");
        return 2;
    }
    QFile list(QString::fromLocal8Bit(argv[1]));
    if (!list.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    QStringList paths;
    for (const QByteArray &line : list.readAll().split('\n'))
        if (!line.isEmpty())
            paths << QString::fromLocal8Bit(line);

    kestrin::bench::StderrPrompter prompter(kestrin::Prompter::Answer::Cancel);
    kestrin::Prompter::setInstance(&prompter);
    kestrin::frmReplace window;
    window.List1->addItems(paths);
    window.Text1->setText(QString::fromLocal8Bit(argv[2]));
    window.Text2->setText(QString::fromLocal8Bit(argv[3]));

    QEventLoop ended;
    QObject::connect(&window, &kestrin::frmReplace::runFinished, &ended, &QEventLoop::quit);
    QElapsedTimer timer;
    timer.start();
    window.startReplace();
    if (window.isRunning())
        ended.exec();
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (window.List1->count() != 0) {
        std::fprintf(stderr, "the run stopped with %d files left\n", int(window.List1->count()));
        return 1;
    }
    std::printf("files %lld seconds %.3f\n", static_cast<long long>(paths.size()), seconds);
    return 0;
}
