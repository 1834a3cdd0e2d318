#pragma once
// The replace window's folder list: the open folder with its ancestors above it and its
// subfolders below it, like a classic folder list box. Highlighting an entry changes nothing;
// opening it (double-click or Enter) makes it the path and emits pathChanged.
#include <QTreeWidget>

namespace kestrin {

class FolderList : public QTreeWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget *parent = nullptr);

    QString path() const { return m_path; }
    // Shows folder (made absolute and clean); false, and nothing changes, when it cannot be read.
    bool setPath(const QString &folder);
    // Re-reads the subfolders of the current path.
    void refresh();
    // What double-click and Enter do: opens folder, or emits openFailed.
    void openFolder(const QString &folder);

Q_SIGNALS:
    void pathChanged(const QString &path);
    // Opening an entry failed; the path stays as it was.
    void openFailed(const QString &folder);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString m_path;
};

} // namespace kestrin
