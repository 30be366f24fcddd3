// The baseline: a bare Qt Widgets program that shows the same JPEG in a maximised window and
// reports its first frame like the real program does.
#include <QApplication>
#include <QImage>
#include <QMenuBar>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {
class Window : public QWidget {
public:
    explicit Window(QImage img) : img_(std::move(img)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.drawImage((width() - img_.width()) / 2, (height() - img_.height()) / 2, img_);
        if (!reported_) {
            reported_ = true;
            QTimer::singleShot(0, [] {
                timespec ts{};
                clock_gettime(CLOCK_REALTIME, &ts);
                std::printf("first-frame %lld\n", ts.tv_sec * 1000000000LL + ts.tv_nsec);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
    }

private:
    QImage img_;
    bool reported_ = false;
};
} // namespace

int main(int argc, char** argv) {
    setenv("QT_NO_GLIB", "1", 1);
    QApplication app(argc, argv);
    Window w(QImage(QStringLiteral(SETTINGS_SOURCE_DIR "/resources/card.jpg")));
    w.setWindowTitle("Setup");
    // With --menu the window also carries a File and Help menu bar, the first text it draws.
    if (argc > 1 && QString(argv[1]) == "--menu") {
        auto* bar = new QMenuBar(&w);
        bar->addMenu("&File")->addAction("&Exit");
        bar->addMenu("&Help")->addAction("&Technical Support");
    }
    w.showMaximized();
    return QApplication::exec();
}
