// Finding a tag's partner in a 1 MB page as the editor does it once the caret rests (copy of the
// styled text, the search): the page's first tag, whose partner is its last. Prints
// "tag_partner_1MB_ms N", the median of 21 searches in CPU time of the thread (wall time on a
// shared machine counts the other processes' turns), and the wall time beside it for information.
// QT_QPA_PLATFORM=offscreen is enough.
#include "app/ProcessPolicy.h"
#include "editor/component/CodeEdit.h"
#include "editor/component/Partners.h"

#include <ScintillaEditBase.h>

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    kestrin::applyHeapPolicy(); // as the program runs
    QApplication app(argc, argv);
    const QByteArray block =
        "<div class=\"row\"><p>Some <b>bold</b> text &amp; a <a href=\"<?php echo $url; ?>\">link</a><br>\n"
        "<ul><li>one<li>two</ul><!-- <div> in a comment --><img src=\"a.png\" alt=\"a > b\"></p>\n"
        "<script>if (a < b && c > d) { x(\"</div>\"); }</script><?php if ($a) { echo '<p>'; } ?></div>\n";
    QByteArray page = "<html><body>\n";
    while (page.size() + block.size() + 16 < 1024 * 1024)
        page += block;
    page += "</body></html>\n";

    kestrin::CodeEdit edit;
    edit.setLanguage(QStringLiteral("PHP"));
    edit.document()->setPath(QStringLiteral("/nonexistent/page.html"));
    edit.setText(page);
    auto *sci = static_cast<ScintillaEditBase *>(edit.editorWidget());
    sci->send(SCI_COLOURISE, 0, -1);
    auto *partners = edit.findChild<kestrin::Partners *>();

    std::vector<double> ms, wall;
    for (int i = 0; i < 21; ++i) {
        QElapsedTimer t;
        t.start();
        const double cpu = threadCpuMs();
        const kestrin::TagMatch m = partners->tagAt(2, false);
        ms.push_back(threadCpuMs() - cpu);
        wall.push_back(double(t.nsecsElapsed()) / 1e6);
        if (m.kind != kestrin::TagMatch::Kind::Paired || m.partner.start != page.lastIndexOf("</html>")) {
            std::fprintf(stderr, "tag_bench: the partner of <html> was not found\n");
            return 1;
        }
    }
    std::sort(ms.begin(), ms.end());
    std::sort(wall.begin(), wall.end());
    std::printf("tag_partner_1MB_ms %.2f\ntag_partner_1MB_wall_ms %.2f\n", ms[ms.size() / 2], wall[wall.size() / 2]);
    return 0;
}
