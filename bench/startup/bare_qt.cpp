// The baseline: a bare Qt Widgets program that shows what the real program's first frame shows,
// a maximised window with the card photograph centred under a File / Settings / Help menu bar,
// and reports its first complete frame as the real program does (bench/startup/FirstFrame.h).
#include "bench/startup/FirstFrame.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QImage>
#include <QMenuBar>
#include <QPainter>
#include <QWidget>
#include <cstdlib>

namespace {
class Window : public QWidget {
public:
    explicit Window(QImage img) : img_(std::move(img)) {
        bar_ = new QMenuBar(this);
        bar_->addMenu("&File")->addAction("&Exit");
        QMenu* settings = bar_->addMenu("&Settings");
        settings->addAction("High &Voltage Level");
        settings->addAction("&Digital Pull Up/Down");
        settings->addAction("&Counter Pull Up/Down");
        QMenu* help = bar_->addMenu("&Help");
        help->addAction("H&ow to use this program");
        help->addAction("&Technical Support");
    }
    bool Painted() const { return painted_; }

protected:
    void resizeEvent(QResizeEvent*) override {
        bar_->setGeometry(0, 0, width(), bar_->sizeHint().height());
    }
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        const int top = bar_->height();
        p.drawImage((width() - img_.width()) / 2, top + (height() - top - img_.height()) / 2, img_);
        painted_ = true;
    }

private:
    QImage img_;
    QMenuBar* bar_;
    bool painted_ = false;
};
} // namespace

int main(int argc, char** argv) {
    setenv("QT_NO_GLIB", "1", 1);
    QApplication app(argc, argv);
    Window w(QImage(QStringLiteral(SETTINGS_SOURCE_DIR "/resources/card.jpg")));
    w.setWindowTitle("Setup");
    // The first complete frame, measured as for the program: the loop's first idle moment after
    // the first paint (with the plain dispatcher, "about to block" means the queue is empty).
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     &w, [&w] {
                         if (!w.Painted()) return;
                         ReportFirstFrame();
                         QCoreApplication::exit(0);
                     });
    w.showMaximized();
    return QApplication::exec();
}
