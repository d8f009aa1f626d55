// The smallest Qt program that does what the start-up benchmark times in velkin: open a
// window, paint one image and leave after the first paint. The ratio of the two start-up
// times shows what the program adds over Qt itself.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {
class CImageWnd : public QWidget {
public:
    explicit CImageWnd(const QImage& img) : m_img(img) { resize(m_img.size()); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(0, 0, m_img);
        if (!m_bPainted) {
            m_bPainted = true;
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                std::chrono::system_clock::now().time_since_epoch());
            std::printf("first-paint-ns %lld\n", static_cast<long long>(ns.count()));
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
    }

private:
    QImage m_img;
    bool m_bPainted = false;
};
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The image the program paints first (its main window's background) when given.
    QImage img;
    if (argc > 1)
        img.load(QString::fromLocal8Bit(argv[1]));
    if (img.isNull()) {
        img = QImage(1000, 650, QImage::Format_ARGB32_Premultiplied);
        img.fill(QColor(30, 34, 40));
    }
    CImageWnd wnd(img);
    wnd.show();
    return app.exec();
}
