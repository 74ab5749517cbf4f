#include "qt/QtTestSupport.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace qttest {

namespace {

// One QApplication for the whole test program; offscreen unless told.
class QtEnvironment : public testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[9] = "tests_qt";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] testing::Environment* const environment = testing::AddGlobalTestEnvironment(new QtEnvironment);

constexpr int kGiveUpMs = 10000;

void poll(const QString& name, std::function<void(QWidget&)> step, std::shared_ptr<QElapsedTimer> clock) {
    if (QWidget* window = visibleWindow(name)) {
        step(*window);
        return;
    }
    if (clock->elapsed() > kGiveUpMs) {
        std::fprintf(stderr, "window %s never appeared: the test would hang\n", name.toStdString().c_str());
        std::abort();
    }
    QTimer::singleShot(5, [name, step = std::move(step), clock]() mutable { poll(name, std::move(step), clock); });
}

}  // namespace

QWidget* visibleWindow(const QString& name) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == name && widget->isVisible()) return widget;
    return nullptr;
}

void screenshot(QWidget& window, const char* name) {
    const QByteArray folder = qgetenv("TAVOLEX_SCREENSHOT_DIR");
    if (folder.isEmpty()) return;
    QTest::qWait(100);  // let it paint
    EXPECT_TRUE(window.grab().save(QString::fromLocal8Bit(folder) + "/" + name));
}

int rowOf(QListWidget& list, const QString& text) {
    for (int row = 0; row < list.count(); ++row)
        if (list.item(row)->text().trimmed() == text) return row;
    ADD_FAILURE() << text.toStdString() << " is not listed";
    return 0;
}

QPoint centreOf(QListWidget& list, int row) { return list.visualItemRect(list.item(row)).center(); }

void missingWidget(const QWidget& window, const char* name) {
    std::fprintf(stderr, "no widget %s of the right kind in %s\n", name, window.objectName().toStdString().c_str());
    std::abort();
}

void whenShown(const QString& name, std::function<void(QWidget&)> step) {
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QTimer::singleShot(0, [name, step = std::move(step), clock]() mutable { poll(name, std::move(step), clock); });
}

}  // namespace qttest
