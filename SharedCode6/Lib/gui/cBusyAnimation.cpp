#include "SharedCode6/Lib/gui/cBusyAnimation.h"

#include <QPainter>

namespace {

constexpr int kWidth = 272;
constexpr int kHeight = 60;
constexpr int kFrames = 24;
constexpr int kFrameMs = 60;

void PaintFolder(QPainter& painter, const QRect& box) {
    painter.setPen(QColor(150, 110, 20));
    painter.setBrush(QColor(240, 200, 90));
    painter.drawRect(box.adjusted(0, 6, 0, 0));
    painter.drawRect(QRect(box.left(), box.top(), box.width() / 3, 6));
}

} // namespace

TBusyAnimation::TBusyAnimation(QWidget* parent) : QWidget(parent) {
    setFixedSize(kWidth, kHeight);
    timer_.setInterval(kFrameMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        frame_ = (frame_ + 1) % kFrames;
        update();
    });
}

void TBusyAnimation::Start() {
    timer_.start();
}

void TBusyAnimation::Stop() {
    timer_.stop();
    frame_ = 0;
    update();
}

bool TBusyAnimation::IsActive() const {
    return timer_.isActive();
}

QSize TBusyAnimation::sizeHint() const {
    return {kWidth, kHeight};
}

void TBusyAnimation::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect from(16, 22, 44, 32);
    const QRect to(kWidth - 60, 22, 44, 32);
    PaintFolder(painter, from);
    PaintFolder(painter, to);
    if (!timer_.isActive())
        return;
    // The sheet rises from the first folder and falls into the second along an arc.
    const double t = static_cast<double>(frame_) / (kFrames - 1);
    const int x = from.center().x() + static_cast<int>(t * (to.center().x() - from.center().x()));
    const int y = 28 - static_cast<int>(24 * 4 * t * (1 - t));
    painter.setPen(QColor(90, 90, 90));
    painter.setBrush(Qt::white);
    painter.drawRect(QRect(x - 7, y - 9, 14, 18));
}
