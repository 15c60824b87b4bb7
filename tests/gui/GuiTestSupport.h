#pragma once
// The application object of the GUI tests and a driver for modal dialogs.
#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <functional>

namespace guitest {

// The application object of the test run, on the offscreen platform unless another one is
// asked for.
QApplication& App();

// While it lives, offers every active modal widget to the action until the action answers true
// (it has dealt with the dialog, usually by closing it). Create it before the dialog is shown.
// A dialog the action leaves open is closed after a while, and the test fails, instead of the
// test hanging.
class ModalDriver {
  public:
    explicit ModalDriver(std::function<bool(QWidget&)> action);
    bool Done() const { return done_; }

  private:
    std::function<bool(QWidget&)> action_;
    QTimer timer_;
    bool done_ = false;
    QPointer<QWidget> handled_;
    int ticksOpen_ = 0;
};

// Drives the next modal widget of type T.
template <class T> std::function<bool(QWidget&)> OnModal(std::function<void(T&)> action) {
    return [action](QWidget& widget) {
        T* dialog = qobject_cast<T*>(&widget);
        if (!dialog)
            return false;
        action(*dialog);
        return true;
    };
}

} // namespace guitest
