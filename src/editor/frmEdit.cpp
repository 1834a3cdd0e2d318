#include "frmEdit.h"

#include "CodeEdit.h"

namespace kestrin {

frmEdit::frmEdit(QWidget *parent) : QMainWindow(parent), Co(this)
{
    RC = new CodeEdit(this);
    setCentralWidget(RC);
}
frmEdit::~frmEdit() = default;
void frmEdit::closeEvent(QCloseEvent *event) { QMainWindow::closeEvent(event); }
void frmEdit::resizeEvent(QResizeEvent *event) { QMainWindow::resizeEvent(event); }

} // namespace kestrin
