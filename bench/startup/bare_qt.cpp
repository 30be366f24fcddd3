// The baseline: a bare Qt Widgets program that shows what the real program's first frame shows,
// a maximised window with the card photograph centred under a File / Settings / Help menu bar,
// and reports its first frame as the real program does (bench/startup/FirstFrame.h).
#include "bench/startup/FirstFrame.h"

#include <QApplication>
#include <QImage>
#include <QMenuBar>
#include <QPainter>
#include <QTimer>
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

protected:
    void resizeEvent(QResizeEvent*) override {
        bar_->setGeometry(0, 0, width(), bar_->sizeHint().height());
    }
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        const int top = bar_->height();
        p.drawImage((width() - img_.width()) / 2, top + (height() - top - img_.height()) / 2, img_);
        if (!reported_) {
            reported_ = true;
            // Once this paint pass is done and on its way to the screen, as the program does.
            QTimer::singleShot(0, [] {
                ReportFirstFrame();
                QCoreApplication::exit(0);
            });
        }
    }

private:
    QImage img_;
    QMenuBar* bar_;
    bool reported_ = false;
};
} // namespace

int main(int argc, char** argv) {
    setenv("QT_NO_GLIB", "1", 1);
    QApplication app(argc, argv);
    Window w(QImage(QStringLiteral(SETTINGS_SOURCE_DIR "/resources/card.jpg")));
    w.setWindowTitle("Setup");
    w.showMaximized();
    return QApplication::exec();
}
