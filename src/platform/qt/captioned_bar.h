// A toolbar scroll bar that writes what it sets and its value across its
// groove ("Période 10 ms"): beside it there is no room, the toolbar already
// fills a small window and would push the recording gauge out of sight.
#pragma once

#include <QPainter>
#include <QScrollBar>

class TCaptionedBar : public QScrollBar {
public:
  explicit TCaptionedBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {}

  void SetCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    update();
  }
  const QString& Caption() const { return caption_; }

protected:
  void paintEvent(QPaintEvent* event) override {
    QScrollBar::paintEvent(event);
    QPainter painter(this);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    painter.setFont(small);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignCenter, caption_);
  }

private:
  QString caption_;
};
