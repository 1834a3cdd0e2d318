#include "SidePanel.h"

// Interim shell so the window links; the real panel replaces it.
namespace kestrin {
struct SidePanel::Private {};
SidePanel::SidePanel(CodeEdit *, QWidget *parent) : QWidget(parent), d(new Private) {}
SidePanel::~SidePanel() { delete d; }
void SidePanel::BuildCatalogue() {}
void SidePanel::setListHeights(int) {}
int SidePanel::listHeight() const { return 0; }
int SidePanel::currentPage() const { return 0; }
void SidePanel::setCurrentPage(int) {}
QString SidePanel::pageCaption(int) const { return {}; }
void SidePanel::setProgramFolder(const QString &) {}
QString SidePanel::programFolder() const { return {}; }
void SidePanel::L1_Click() {}
void SidePanel::L2_Click() {}
void SidePanel::L3_Click() {}
void SidePanel::L4_Click() {}
void SidePanel::L5_Click() {}
void SidePanel::L8_Click() {}
void SidePanel::L9_Click() {}
void SidePanel::L10_Click() {}
void SidePanel::C6_Click(int) {}
void SidePanel::Command1_Click() {}
void SidePanel::Command2_Click() {}
void SidePanel::Command4_Click() {}
void SidePanel::Command5_Click() {}
void SidePanel::resizeEvent(QResizeEvent *) {}
void SidePanel::finish() {}
} // namespace kestrin
