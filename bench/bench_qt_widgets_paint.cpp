// Painting cost of the skinned widgets, offscreen: a window of 40 skinned buttons and a
// 200-row tree. Frames per second show as items_per_second.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstdlib>

#include "widgets/PngBtn.h"
#include "widgets/TreeCtrlEx.h"

namespace {
QImage Solid(QSize sz, QColor clr) {
    QImage img(sz, QImage::Format_ARGB32_Premultiplied);
    img.fill(clr);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(clr.lighter(130));
    p.drawRoundedRect(QRectF(0.5, 0.5, sz.width() - 1, sz.height() - 1), 5, 5);
    return img;
}

void BM_Paint40Buttons(benchmark::State& state) {
    QWidget wnd;
    wnd.resize(1000, 650);
    QImage bkg = Solid(QSize(1000, 650), QColor(20, 22, 27));
    const QImage nr = Solid(QSize(104, 30), QColor(39, 43, 52));
    const QImage ov = Solid(QSize(104, 30), QColor(49, 54, 65));
    const QImage dn = Solid(QSize(104, 30), QColor(29, 95, 138));
    for (int i = 0; i < 40; ++i) {
        auto* p = new CPngBtn(&wnd, i);
        p->SetImages(nr, ov, dn);
        p->setGeometry(QRect(QPoint(20 + (i % 8) * 120, 40 + (i / 8) * 60), nr.size()));
        p->SetBackground(bkg.copy(p->geometry()));
        p->SetCaption("Button " + std::to_string(i));
        p->ShowHovered(i % 3 == 1);
        p->ShowPressed(i % 3 == 2);
    }
    QImage target(wnd.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter p(&target);
        wnd.render(&p);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("frames");
}
BENCHMARK(BM_Paint40Buttons)->Unit(benchmark::kMillisecond);

void BM_Paint200RowTree(benchmark::State& state) {
    QWidget wnd;
    wnd.resize(320, 4020);
    auto* pTree = new CTreeCtrlEx(&wnd, 1);
    QImage bkg = Solid(QSize(320, 4020), QColor(28, 31, 38));
    // Tall enough that every one of the 200 rows is painted in each frame.
    pTree->Create(QRect(0, 0, 300, 200 * 20 + 4), &bkg, QRect(0, 0, 300, 4004), "", "", nullptr);
    const QImage icon = Solid(QSize(16, 16), QColor(61, 165, 232));
    pTree->m_bHoverHighlight = true;
    HTREEITEM hFolder = nullptr;
    for (int i = 0; i < 200; ++i) {
        if (i % 20 == 0) {
            hFolder = pTree->AddChild(true, TVI_ROOT, false, nullptr, false,
                                      "Folder " + std::to_string(i / 20), static_cast<uint32_t>(i));
            pTree->Expand(hFolder, TreeExpand::Expand);
        } else {
            pTree->AddChild(false, hFolder, i == 7, &icon, false,
                            "Macro with a name " + std::to_string(i), static_cast<uint32_t>(i));
        }
    }
    QImage target(pTree->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter p(&target);
        pTree->viewport()->render(&p);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.counters["rows"] = pTree->VisibleRowCount();
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("frames");
}
BENCHMARK(BM_Paint200RowTree)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
