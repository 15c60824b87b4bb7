#include "tests/gui/GuiTestSupport.h"

#include <QDialog>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace guitest {

namespace {

constexpr int kTicksBeforeGivingUp = 400;

// The offscreen platform says so for every window it cannot resize or raise.
void QuietUnsupported(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QStringLiteral("This plugin does not support")))
        return;
    qt_message_output(type, context, message);
}

// The application object lives from before the first test to after the last: Qt must not be
// torn down by static destructors.
class QtEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(QuietUnsupported);
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

  private:
    int argc_ = 1;
    char name_[10] = "gui_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

// gtest owns its environments.
[[maybe_unused]] testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace

QApplication& App() {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app)
        throw std::logic_error("the GUI tests run inside their application object");
    return *app;
}

ModalDriver::ModalDriver(std::function<bool(QWidget&)> action) : action_(std::move(action)) {
    App();
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        if (done_) {
            if (!handled_ || modal != handled_ || !handled_->isVisible()) {
                timer_.stop();
            } else if (++ticksOpen_ > kTicksBeforeGivingUp) {
                ADD_FAILURE() << "the dialog stayed open";
                if (auto* dialog = qobject_cast<QDialog*>(modal))
                    dialog->done(-1);
                else
                    modal->close();
            }
            return;
        }
        if (!modal || !modal->isVisible() || !action_(*modal))
            return;
        done_ = true;
        handled_ = modal;
    });
    timer_.start();
}

} // namespace guitest
