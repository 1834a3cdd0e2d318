#include "frmReplace.h"

#include "FolderList.h"
#include "ReplacePaths.h"
#include "common/AppTitle.h"
#include "common/Prompter.h"
#include "common/ToolWindow.h"
#include "common/Twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QTimer>

namespace kestrin {

namespace {

template <typename W>
W *place(W *widget, int left, int top, int width, int height)
{
    widget->setGeometry(twipsRect(left, top, width, height));
    return widget;
}

QLabel *boldLabel(QWidget *parent, const QString &caption, int left, int top, int width, int height)
{
    auto *label = place(new QLabel(caption, parent), left, top, width, height);
    label->setFont(toolWindowFont(true));
    return label;
}

QPushButton *button(QWidget *parent, const QString &caption, const QString &does, int left, int top, int width,
                    int height)
{
    auto *b = place(new QPushButton(caption, parent), left, top, width, height);
    b->setAccessibleName(does);
    b->setAutoDefault(false);
    return b;
}

} // namespace

frmReplace::frmReplace(QWidget *parent) : QWidget(parent, Qt::Tool)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(tr("REPLACE IN MULTIPLE FILES"));
    setObjectName(QStringLiteral("frmReplace"));
    setFont(toolWindowFont(false));
    setFixedSize(twipsToPixels(ClientWidthTwips), twipsToPixels(ClientHeightTwips));

    Label1 = boldLabel(this, tr("Select files"), 960, 60, 960, 195);

    Drive1 = place(new QComboBox(this), 180, 300, 2595, 315);
    Drive1->setAccessibleName(tr("Drive"));

    Dir1 = place(new FolderList(this), 180, 660, 2595, 1665);
    Dir1->setAccessibleName(tr("Folders"));

    File1 = place(new QListWidget(this), 180, 2340, 2595, 1845);
    File1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    File1->setAccessibleName(tr("Files"));

    Command2 = button(this, QStringLiteral("<<"), tr("Remove the highlighted file from the list"), 2880,
                      480, 375, 1815);
    Command1 = button(this, QStringLiteral(">>"), tr("Add the selected files to the list"), 2880, 2400,
                      375, 1755);

    List1 = place(new QListWidget(this), 3360, 300, 5355, 3570);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setAccessibleName(tr("Files to change"));
    List1->setUniformItemSizes(true);

    PB = place(new QProgressBar(this), 3360, 3900, 5355, 255);
    PB->setTextVisible(false);
    PB->setAccessibleName(tr("Progress"));
    PB->hide();

    Frame1 = place(new QGroupBox(tr("Replace"), this), 180, 4200, 8535, 675);
    Label2 = boldLabel(Frame1, tr("Find:"), 120, 300, 435, 195);
    Text1 = place(new QLineEdit(Frame1), 660, 240, 2535, 315);
    Text1->setAccessibleName(tr("Find:", "accessible name, any length"));
    Label2->setBuddy(Text1);
    Label3 = boldLabel(Frame1, tr("Replace with:"), 3300, 300, 1185, 195);
    Text2 = place(new QLineEdit(Frame1), 4560, 240, 2595, 315);
    Text2->setAccessibleName(tr("Replace with:", "accessible name, any length"));
    Label3->setBuddy(Text2);
    Command3 = button(Frame1, tr("GO"), tr("GO: replace in the listed files"), 7260, 240,
                      1155, 315);

    Frame2 = place(new QGroupBox(tr("Add"), this), 180, 4920, 8535, 735);
    Label4 = boldLabel(Frame2, tr("Add this text:"), 180, 300, 1140, 195);
    Text3 = place(new QLineEdit(Frame2), 1440, 240, 3555, 315);
    Text3->setAccessibleName(tr("Add this text:", "accessible name, any length"));
    Label4->setBuddy(Text3);
    Option1 = place(new QRadioButton(tr("To end of files"), Frame2), 5100, 180, 2475, 195);
    Option1->setAccessibleName(Option1->text());
    Option2 = place(new QRadioButton(tr("To begining of files"), Frame2), 5100, 420, 1755, 195);
    Option2->setAccessibleName(Option2->text());
    Option1->setChecked(true);
    Command4 = button(Frame2, tr("GO"), tr("GO: add the text to the listed files"), 7260, 240,
                      1155, 315);

    // The design's tab order; labels and the progress bar take no focus.
    QWidget *chain[] = {Drive1, Dir1, File1, Command1, List1, Command2, Text1, Text2, Command3, Text3, Option1, Option2,
                        Command4};
    for (size_t i = 1; i < std::size(chain); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);

    connect(Command1, &QPushButton::clicked, this, &frmReplace::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmReplace::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmReplace::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmReplace::Command4_Click);
    connect(Dir1, &FolderList::pathChanged, this, &frmReplace::Dir1_Change);
    connect(Dir1, &FolderList::openFailed, this, [this](const QString &folder) {
        Prompter::instance().message(this, Prompter::Icon::Warning, QString::fromLatin1(AppTitle),
                                     tr("The folder \"%1\" cannot be opened.").arg(folder));
    });

    Form_Load();

    connect(Drive1, &QComboBox::currentIndexChanged, this, &frmReplace::Drive1_Change);

    // The run's progress is read at this pace, not signalled per file: thousands of small files
    // would otherwise cost thousands of paints.
    m_progressTimer = new QTimer(this);
    m_progressTimer->setInterval(50);
    connect(m_progressTimer, &QTimer::timeout, this, [this] {
        if (m_run)
            PB->setValue(m_run->done());
    });
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &frmReplace::stopRun);
}

frmReplace::~frmReplace()
{
    // Gone without a close (the program ending): the run still ends after its current file and
    // commits what it did; only a failure to do so is worth a word now.
    if (m_run) {
        m_run->stop();
        m_run->wait();
        if (m_run->outcome().severity == ReplaceRun::Outcome::Severity::Critical)
            showOutcome(m_run->outcome(), nullptr);
    }
}

frmReplace *frmReplace::shared() { return sharedToolWindow<frmReplace>(false); }

frmReplace *frmReplace::showShared()
{
    frmReplace *window = sharedToolWindow<frmReplace>(true);
    bringForward(window);
    return window;
}

void frmReplace::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_centred || event->spontaneous())
        return;
    m_centred = true;
    centreOnScreen(this);
}

void frmReplace::Form_Load()
{
    m_pattern = webSourcePattern();
    const QString current = QDir::currentPath();
    m_volumes = mountedVolumeRoots();
    const QString volume = volumeOf(m_volumes, current);
    Drive1->addItems(m_volumes);
    m_driveIndex = int(m_volumes.indexOf(volume));
    Drive1->setCurrentIndex(m_driveIndex);
    if (!Dir1->setPath(current))
        Dir1->setPath(volume.isEmpty() ? QDir::rootPath() : volume);
    fillFileList();
}

void frmReplace::Drive1_Change()
{
    const int index = Drive1->currentIndex();
    if (index < 0 || index == m_driveIndex)
        return;
    const QString root = Drive1->itemText(index);
    const QString target = folderOnVolume(m_volumes, root, QDir::currentPath());
    if (Dir1->setPath(target) || Dir1->path() == QDir::cleanPath(target)) {
        m_driveIndex = index;
        return;
    }
    // The volume is not ready (gone, unreadable): stay where we were.
    {
        const QSignalBlocker block(Drive1);
        Drive1->setCurrentIndex(m_driveIndex);
    }
    Prompter::instance().message(this, Prompter::Icon::Warning, QString::fromLatin1(AppTitle),
                                 tr("The drive \"%1\" is not ready.").arg(root));
}

void frmReplace::Dir1_Change() { fillFileList(); }

void frmReplace::fillFileList()
{
    File1->clear();
    File1->addItems(matchingFiles(Dir1->path(), m_pattern));
}

void frmReplace::Command1_Click()
{
    const QString folder = Dir1->path();
    QStringList entries;
    for (int i = 0; i < File1->count(); ++i) {
        if (File1->item(i)->isSelected())
            entries.append(listEntry(folder, File1->item(i)->text()));
    }
    List1->addItems(entries);
}

void frmReplace::Command2_Click()
{
    const int row = List1->currentRow();
    if (row < 0 || !List1->item(row)->isSelected())
        return;
    delete List1->takeItem(row);
    // Nothing stays highlighted, so a second press cannot remove a neighbour by accident.
    List1->clearSelection();
    List1->setCurrentRow(-1);
}

void frmReplace::Command3_Click() { startReplace(); }
void frmReplace::Command4_Click() { startAddText(); }

void frmReplace::startReplace() { startRun(ReplaceRun::replacing(Text1->text(), Text2->text())); }
void frmReplace::startAddText() { startRun(ReplaceRun::addingLine(Text3->text(), Option1->isChecked())); }

void frmReplace::startRun(ReplaceRun::Step step)
{
    const int n = List1->count();
    if (n == 0 || m_run)
        return;
    QStringList paths;
    paths.reserve(n);
    for (int i = 0; i < n; ++i)
        paths << List1->item(i)->text();
    m_run = std::make_unique<ReplaceRun>(std::move(paths), std::move(step));
    connect(m_run.get(), &ReplaceRun::finished, this, &frmReplace::runEnded);
    setListEditable(false);
    PB->setRange(0, n);
    PB->setValue(0);
    PB->setEnabled(true);
    PB->show();
    m_progressTimer->start();
    m_run->start();
}

void frmReplace::setListEditable(bool on)
{
    // The list is the run's until it ends.
    for (QPushButton *b : {Command1, Command2, Command3, Command4})
        b->setEnabled(on);
}

void frmReplace::stopRun()
{
    if (!m_run || m_run->stopRequested())
        return;
    m_run->stop();
    // Greyed while the current file is finished and the batch committed.
    PB->setEnabled(false);
}

void frmReplace::runEnded()
{
    m_progressTimer->stop();
    // A copy: the run is deleted later (this is called from its own signal), and the message box
    // below runs an event loop of its own.
    const ReplaceRun::Outcome outcome = m_run->outcome();
    m_run.release()->deleteLater();
    PB->hide();
    List1->clear();
    List1->addItems(outcome.left);
    setListEditable(true);
    showOutcome(outcome, this);
    Q_EMIT runFinished();
    if (m_closeAfterRun)
        close();
}

void frmReplace::showOutcome(const ReplaceRun::Outcome &outcome, QWidget *parent)
{
    using S = ReplaceRun::Outcome::Severity;
    if (!outcome.message.isEmpty())
        Prompter::instance().message(parent, outcome.severity == S::Critical  ? Prompter::Icon::Critical
                                             : outcome.severity == S::Warning ? Prompter::Icon::Warning
                                                                              : Prompter::Icon::Information,
                                     QString::fromLatin1(AppTitle), outcome.message);
}

void frmReplace::closeEvent(QCloseEvent *event)
{
    if (!m_run) {
        QWidget::closeEvent(event);
        return;
    }
    // Closed once the current file is done and the batch committed, so a failure can still be told.
    m_closeAfterRun = true;
    stopRun();
    event->ignore();
}

} // namespace kestrin
