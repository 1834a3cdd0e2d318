#pragma once
// The "REPLACE IN MULTIPLE FILES" tool window: pick web-source files into a list, then replace a
// text in every listed file, or add a line to the end or the beginning of each. The run itself is
// a ReplaceRun on a thread of its own; the window starts it, shows its progress, stops it on
// Escape or when closed, and shows its outcome. The editor window's document is never touched.
#include "ReplaceRun.h"

#include <QWidget>

#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;

namespace kestrin {

class FolderList;

class frmReplace : public QWidget {
    Q_OBJECT
public:
    // Top-level tool window without owner; deleted when closed, so reopening starts afresh.
    explicit frmReplace(QWidget *parent = nullptr);
    ~frmReplace() override;

    // For the editor window's "REPLACE IN MULTIPLE FILES" button: creates the one shared window
    // on first use (or after it was closed), shows it modeless, and otherwise only brings it
    // forward. Never changes anything in the editor's document.
    static frmReplace *showShared();
    // The shared window while it exists, else nullptr.
    static frmReplace *shared();

    // Design size of the client area, in twips.
    static constexpr int ClientWidthTwips = 8760;
    static constexpr int ClientHeightTwips = 5670;

    // The runs over List1 (what the two "GO" buttons do), with the texts as they are now. A run
    // goes on in the background, GO does nothing until it ends; Escape or closing the window stops
    // it after the current file. A run stops at the first file that cannot be loaded or saved,
    // leaves it and the later files untouched and listed, and says why in one message.
    void startReplace();
    void startAddText();
    bool isRunning() const { return m_run != nullptr; }

    // Controls, named as designed.
    QLabel *Label1 = nullptr;
    QComboBox *Drive1 = nullptr;
    FolderList *Dir1 = nullptr;
    QListWidget *File1 = nullptr;
    QPushButton *Command2 = nullptr; // "<<"
    QPushButton *Command1 = nullptr; // ">>"
    QListWidget *List1 = nullptr;
    QProgressBar *PB = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *Text2 = nullptr;
    QPushButton *Command3 = nullptr; // "GO" (Replace)
    QGroupBox *Frame2 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *Text3 = nullptr;
    QRadioButton *Option1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QPushButton *Command4 = nullptr; // "GO" (Add)
    // The file list's pattern, ";"-separated.
    QString filePattern() const { return m_pattern; }
    // The volumes Drive1 offers, in its order.
    QStringList volumeRoots() const { return m_volumes; }

Q_SIGNALS:
    // A run ended and its outcome is shown.
    void runFinished();

public Q_SLOTS:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void Drive1_Change();
    void Dir1_Change();
    void fillFileList();
    void startRun(ReplaceRun::Step step);
    void stopRun();
    void setListEditable(bool on);
    void runEnded();
    void showOutcome(const ReplaceRun::Outcome &outcome, QWidget *parent);

    QString m_pattern;
    QStringList m_volumes;
    int m_driveIndex = -1;
    bool m_centred = false;
    bool m_closeAfterRun = false;
    std::unique_ptr<ReplaceRun> m_run;
    QTimer *m_progressTimer = nullptr;
};

} // namespace kestrin
