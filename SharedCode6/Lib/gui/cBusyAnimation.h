#pragma once
// A small painted "copying files" animation: sheets fly from one folder to another.
#include <QTimer>
#include <QWidget>

class TBusyAnimation : public QWidget {
    Q_OBJECT
  public:
    explicit TBusyAnimation(QWidget* parent = nullptr);

    void Start();
    void Stop();
    bool IsActive() const;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QTimer timer_;
    int frame_ = 0;
};
