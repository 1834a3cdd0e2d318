#pragma once
// The "REPLACE IN MULTIPLE FILES" tool window: pick web-source files into a list, then replace a
// text in every listed file, or add a line to the end or the beginning of each. Files are loaded
// and saved by the editor component's document half (a document without a view), so each keeps
// its encoding, BOM and line ends; the document open in the editor window is never touched.
#include "document/TextDocument.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;

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

    // The runs over List1 (what the two "GO" buttons do). Synchronous: the window takes no user
    // input until the run ends. A run stops at the first file that cannot be loaded or saved,
    // leaves it and the later files untouched and listed, and says why in one message.
    void ReplaceRun();
    void AddTextRun();

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
    // The document each file is loaded into, changed in and saved from; it has no view.
    TextDocument RC;

    // The file list's pattern, ";"-separated.
    QString filePattern() const { return m_pattern; }
    // The volumes Drive1 offers, in its order.
    QStringList volumeRoots() const { return m_volumes; }

public Q_SLOTS:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();
    void Drive1_Change();
    void Dir1_Change();
    void fillFileList();
    // One run: step turns each loaded text into the text to save (lineBreak is the file's own).
    void runOverList(const std::function<QByteArray(const QByteArray &text, const QByteArray &lineBreak)> &step);
    void reportFailure(int done, const QString &path, const QString &what, const QString &reason);
    void reportCommitFailure(int done, const QString &reason);
    void showProgress(int value);

    QString m_pattern;
    QStringList m_volumes;
    int m_driveIndex = -1;
    int m_paintedFill = -1;
    bool m_centred = false;
};

} // namespace kestrin
